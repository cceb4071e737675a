#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/password_input.h"
#include "cli/password_rules.h"
#include "tests/support/temp_folder.h"

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

// `text` as the stream a script hands over.
std::optional<std::string> ReadFromStream(const std::string& text) {
    const test::TempFolder folder;
    const std::string path = folder.Write("stream", text);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr) << path;
    if (f == nullptr) return std::nullopt;
    std::optional<std::string> line = ReadFirstLine(f, "a stream");
    std::fclose(f);
    return line;
}

TEST(PasswordLine, ReadsFirstLineOfAStream) {
    EXPECT_EQ(ReadFromStream("abcde\r\nrest"), "abcde");
    EXPECT_EQ(ReadFromStream("abcde"), "abcde");
    EXPECT_EQ(ReadFromStream("\n"), "");          // an empty line is a (short) password
    EXPECT_EQ(ReadFromStream(""), std::nullopt);  // no input at all
    // A runaway line is cut; it is refused as too long anyway.
    EXPECT_EQ(ReadFromStream(std::string(100000, 'x'))->size(), kMaxPasswordLine);
}

class PasswordFile : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        return dir_.Write(name, bytes);
    }
    test::TempFolder dir_;
};

TEST_F(PasswordFile, FirstLineOfTheFile) {
    EXPECT_EQ(ReadTypedPassword(Write("pw", "Tiger#42\r\nignored\n")), "Tiger#42");
    EXPECT_EQ(ReadTypedPassword(Write("pw2", "no-break")), "no-break");
}

TEST_F(PasswordFile, MissingOrEmptyFileIsAnInputError) {
    try {
        ReadTypedPassword(dir_ / "nope");
        FAIL() << "a missing file was accepted";
    } catch (const EPasswordInputError& e) {
        EXPECT_NE(std::string(e.what()).find("nope"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadTypedPassword(Write("empty", "")), EPasswordInputError);
    EXPECT_THROW(ReadTypedPassword(dir_.path()), EPasswordInputError);  // a folder
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
