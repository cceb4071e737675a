#include "codec/container.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/base64_text.h"
#include "codec/password.h"
#include "runtime/generator.h"
#include "tests/support/container_bytes.h"
#include "tests/support/container_oracle.h"

namespace imgcrypt {
namespace {

using test::DecodeContainerBytes;
using test::MakeContainerFile;

constexpr EncryptionClass kBothClasses[] = {EncryptionClass::Standard, EncryptionClass::High};

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(gen() & 0xFF);
    return s;
}

// Bytes whose base64 is rich in '/' (0xFF gives "////"), lone and paired.
std::string SlashHeavyBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 gen(seed);
    const unsigned char pool[] = {0xFF, 0xFE, 0xFC, 0x3F, 0xF0, 0x0F, 0xC3, 0xBF, 0xD3, 0x4D};
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(pool[gen() % sizeof pool]);
    return s;
}

std::string ContainerText(std::string file) {
    std::erase(file, '\r');
    std::erase(file, '\n');
    return file;
}

TEST(Container, StandardLayoutOfAHundredByteSource) {
    SetGeneratorState(0);
    const std::string file =
        MakeContainerFile(RandomBytes(100, 2), "abcde", EncryptionClass::Standard);
    ASSERT_EQ(file.size(), 168u);
    const auto firstBreak = file.find("\r\n");
    EXPECT_EQ(firstBreak, 76u);
    EXPECT_EQ(file.size() - 2 - (firstBreak + 2), 88u);
    EXPECT_EQ(file.substr(file.size() - 6), "****\r\n");
    const std::string text = ContainerText(file);
    EXPECT_EQ(text.size(), 164u);
    const std::string base64 = test::EncodeBase64Text(RandomBytes(100, 2));
    EXPECT_EQ(text.substr(136, 20), base64.substr(0, 20));
    EXPECT_EQ(text.substr(20, 56), base64.substr(20, 56));
    EXPECT_EQ(text[156], '!');  // first draw after start
}

TEST(Container, HighClassIsOneLine) {
    SetGeneratorState(0);
    const std::string file = MakeContainerFile(RandomBytes(100, 2), "abcde", EncryptionClass::High);
    ASSERT_EQ(file.size(), 166u);
    EXPECT_EQ(file.find_first_of("\r\n"), 164u);
    EXPECT_EQ(file.substr(160), "@@@@\r\n");
}

TEST(Container, TrailerOnItsOwnLineWhenTextEndsInBreak) {
    SetGeneratorState(0);
    const std::string source = RandomBytes(57 * 3, 4);
    const std::string file = MakeContainerFile(source, "abcde", EncryptionClass::Standard);
    const std::string withoutFinal = file.substr(0, file.size() - 2);
    const std::string lastLine = withoutFinal.substr(withoutFinal.rfind("\r\n") + 2);
    EXPECT_EQ(lastLine.size(), 28u);
    EXPECT_EQ(DecodeContainerBytes(file), source);
}

TEST(Container, FirstTwoContainersUseShiftCharactersBangAndColon) {
    SetGeneratorState(0);
    const std::string first =
        ContainerText(MakeContainerFile("hello world, hi", "abcde", EncryptionClass::Standard));
    const std::string second =
        ContainerText(MakeContainerFile("hello world, hi", "abcde", EncryptionClass::Standard));
    EXPECT_EQ(first[first.size() - 8], '!');
    EXPECT_EQ(second[second.size() - 8], ':');
    // Draws 33, 35, 113, 51 then 58, 95, 62, 48.
    EXPECT_EQ(first.substr(first.size() - 8), "!#q3****");
    EXPECT_EQ(second.substr(second.size() - 8), ":_>0****");
    EXPECT_NE(first.substr(0, 20), second.substr(0, 20));
    EXPECT_EQ(ReadPassword(first), "abcde");
    EXPECT_EQ(ReadPassword(second), "abcde");
}

TEST(Container, OneBufferBuildMatchesStepByStep) {
    std::mt19937 gen(17);
    for (EncryptionClass cls : kBothClasses) {
        for (std::size_t n = 0; n < 700; n += (n < 200 ? 1 : 37)) {
            const std::string source = n % 2 ? SlashHeavyBytes(n, static_cast<std::uint32_t>(n))
                                             : RandomBytes(n, static_cast<std::uint32_t>(n));
            const std::uint32_t state = gen();
            SetGeneratorState(state);
            const std::string fast = MakeContainerFile(source, "Pass~word!", cls);
            SetGeneratorState(state);
            const std::string slow = test::ReferenceContainerFile(source, "Pass~word!", cls);
            ASSERT_EQ(fast, slow) << n << " class " << static_cast<int>(cls);
        }
    }
}

TEST(Container, EverySizeRoundTripsInBothClasses) {
    SetGeneratorState(0);
    for (EncryptionClass cls : kBothClasses) {
        for (std::size_t n = 0; n < 400; ++n) {
            for (const std::string& source : {RandomBytes(n, static_cast<std::uint32_t>(n)),
                                              SlashHeavyBytes(n, static_cast<std::uint32_t>(n))}) {
                const std::string file = MakeContainerFile(source, "abcde", cls);
                ASSERT_EQ(DecodeContainerBytes(file), source) << n;
                ASSERT_EQ(DecodeContainerBytes(ContainerText(file)), source) << n;
            }
        }
        const std::string big = SlashHeavyBytes(1 << 20, 99);
        EXPECT_EQ(DecodeContainerBytes(MakeContainerFile(big, "abcde", cls)), big);
    }
}

TEST(Container, ShortContainersReadBackExactly) {
    SetGeneratorState(0);
    for (EncryptionClass cls : kBothClasses) {
        for (std::size_t n = 0; n <= 20; ++n) {
            const std::string source = SlashHeavyBytes(n, 3);
            const std::string file = MakeContainerFile(source, "abcde", cls);
            const std::string text = ContainerText(file);
            const std::size_t payload = 4 * ((n + 2) / 3);
            EXPECT_EQ(text.size(), 20 + payload + 8) << n;
            EXPECT_EQ(DecodeContainerBytes(file), source) << n;
            EXPECT_EQ(ReadPassword(text), "abcde") << n;
        }
    }
}

TEST(Container, FifteenByteSourceGivesFortyEightCharacters) {
    SetGeneratorState(0);
    const std::string source = "fifteen bytes!!";
    const std::string text =
        ContainerText(MakeContainerFile(source, "abcde", EncryptionClass::Standard));
    EXPECT_EQ(text.size(), 48u);
    EXPECT_EQ(text.substr(20, 20), test::EncodeBase64Text(source));
    EXPECT_EQ(DecodeContainerBytes(text), source);
}

TEST(Recognition, OnlyTheLastFourCharactersCount) {
    EXPECT_TRUE(Recognise("x****").isContainer);
    EXPECT_FALSE(Recognise("x****").highLevel);
    EXPECT_TRUE(Recognise("@@@@").isContainer);
    EXPECT_TRUE(Recognise("@@@@").highLevel);
    EXPECT_FALSE(Recognise("***").isContainer);
    EXPECT_FALSE(Recognise("").isContainer);
    EXPECT_FALSE(Recognise("****x").isContainer);
    EXPECT_FALSE(Recognise("@@@*").isContainer);
}

TEST(Reader, AnyOtherEndingIsReadAsStandard) {
    SetGeneratorState(0);
    const std::string source = RandomBytes(200, 8);
    std::string text = ContainerText(MakeContainerFile(source, "abcde", EncryptionClass::Standard));
    text.replace(text.size() - 4, 4, "XYZ!");
    EXPECT_EQ(DecodeContainerBytes(text), source);
}

TEST(Reader, FollowsTheLineReadingRules) {
    SetGeneratorState(0);
    const std::string source = RandomBytes(500, 6);
    std::string file = MakeContainerFile(source, "abcde", EncryptionClass::Standard);
    std::string lfOnly = file;
    std::erase(lfOnly, '\r');
    EXPECT_EQ(DecodeContainerBytes(lfOnly), source);
    // Everything from the first byte 26 on is never read.
    EXPECT_EQ(DecodeContainerBytes(file + "\x1A" + "garbage****"), source);
    EXPECT_EQ(DecodeContainerBytes("\x1A" + file), "");
}

TEST(Reader, ForeignAndDamagedTextsNeverFail) {
    EXPECT_EQ(DecodeContainerBytes(""), "");
    EXPECT_NO_THROW(DecodeContainerBytes("@@@@"));
    EXPECT_NO_THROW(DecodeContainerBytes(std::string(47, '\\') + "@@@@"));
    EXPECT_NO_THROW(DecodeContainerBytes(std::string(1000, '\\') + "@@@@"));
    EXPECT_NO_THROW(DecodeContainerBytes(RandomBytes(5000, 1)));
}

}  // namespace
}  // namespace imgcrypt
