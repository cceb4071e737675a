#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/password_input.h"
#include "cli/password_rules.h"

namespace imgcrypt {
namespace {

using Lines = std::vector<std::string>;

TEST(PasswordLine, OnlyTheLineBreakIsRemoved) {
    EXPECT_EQ(FirstLine("secret\n"), "secret");
    EXPECT_EQ(FirstLine("secret\r\n"), "secret");
    EXPECT_EQ(FirstLine("secret"), "secret");
    EXPECT_EQ(FirstLine("secret\r\nsecond line\n"), "secret");
    EXPECT_EQ(FirstLine(" sec ret \t\n"), " sec ret \t");
    EXPECT_EQ(FirstLine("sec\rret\n"), "sec\rret");
    EXPECT_EQ(FirstLine("\nsecret\n"), "");
    EXPECT_EQ(FirstLine(""), "");
}

std::optional<std::string> ReadFromMemory(std::string text) {
    std::FILE* f = fmemopen(text.data(), text.size(), "r");
    if (text.empty()) f = std::tmpfile();  // fmemopen refuses a zero size
    std::optional<std::string> line = ReadFirstLine(f, "memory");
    std::fclose(f);
    return line;
}

TEST(PasswordLine, ReadsFirstLineOfAStream) {
    EXPECT_EQ(ReadFromMemory("abcde\r\nrest"), "abcde");
    EXPECT_EQ(ReadFromMemory("abcde"), "abcde");
    EXPECT_EQ(ReadFromMemory("\n"), "");          // an empty line is a (short) password
    EXPECT_EQ(ReadFromMemory(""), std::nullopt);  // no input at all
    // A runaway line is cut; it is refused as too long anyway.
    EXPECT_EQ(ReadFromMemory(std::string(100000, 'x'))->size(), kMaxPasswordLine);
}

class PasswordFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("imgcrypt_pw_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path dir_;
};

TEST_F(PasswordFile, FirstLineOfTheFile) {
    EXPECT_EQ(ReadTypedPassword(Write("pw", "Tiger#42\r\nignored\n")), "Tiger#42");
    EXPECT_EQ(ReadTypedPassword(Write("pw2", "no-break")), "no-break");
}

TEST_F(PasswordFile, MissingOrEmptyFileIsAnInputError) {
    try {
        ReadTypedPassword((dir_ / "nope").string());
        FAIL() << "a missing file was accepted";
    } catch (const EPasswordInputError& e) {
        EXPECT_NE(std::string(e.what()).find("nope"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadTypedPassword(Write("empty", "")), EPasswordInputError);
    EXPECT_THROW(ReadTypedPassword(dir_.string()), EPasswordInputError);  // a folder
}

TEST(PasswordRules, EnglishTextsOneRulePerRefusal) {
    EXPECT_EQ(PasswordRefusals("abcd", true), Lines{"Password length should large than 4 bits"});
    // The length rule wins over a bad character.
    EXPECT_EQ(PasswordRefusals("a b", true), Lines{"Password length should large than 4 bits"});
    EXPECT_EQ(PasswordRefusals("ab cdef", true), Lines{"No blank allowd in password"});
    EXPECT_EQ(PasswordRefusals("abc\x7f"
                               "def",
                               true),
              (Lines{"str0[i]:\x7f", "Found illegal char(s) in passowrd"}));
    // A non-ASCII character is shown whole.
    EXPECT_EQ(PasswordRefusals("pässword", true),
              (Lines{"str0[i]:ä", "Found illegal char(s) in passowrd"}));
}

TEST(PasswordRules, LengthFiveToTen) {
    EXPECT_TRUE(PasswordRefusals("!bcd~", true).empty());
    EXPECT_TRUE(PasswordRefusals("0123456789", true).empty());
    EXPECT_EQ(PasswordRefusals("0123456789A", true),
              Lines{"Password should have at most 10 characters"});
    EXPECT_EQ(PasswordRefusals("0123456789A", false), Lines{"密码不能多于10位！"});
}

TEST(PasswordRules, ChineseTexts) {
    EXPECT_EQ(PasswordRefusals("abc", false), Lines{"密码必需大于4位！"});
    EXPECT_EQ(PasswordRefusals("abc def", false), Lines{"密码不支持空格"});
    EXPECT_EQ(PasswordRefusals("abc\tdef", false), (Lines{"str0[i]:\t", "密码有不支持的字符"}));
}

}  // namespace
}  // namespace imgcrypt
