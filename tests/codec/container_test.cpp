#include "codec/container.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "codec/base64.h"
#include "codec/password.h"
#include "runtime/generator.h"

namespace imgcrypt {
namespace {

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

// The same container built one step at a time, as the format describes it.
std::string StepByStepContainerFile(std::string_view source, std::string_view password,
                                    EncryptionClass cls) {
    const char shiftChar = static_cast<char>(RandomBetween(33, 126));
    const std::string block =
        MakePasswordBlock(password, static_cast<unsigned char>(shiftChar) % 9);
    const std::string payload = MakePayloadText(cls, EncodeBase64Text(source));
    return AssembleContainer(payload, block, shiftChar, cls) + "\r\n";
}

TEST(Scramble, WorkedExample) {
    std::string text(136, 'Q');
    for (int pos : {7, 31, 45, 50, 130, 60, 61}) text[pos - 1] = '/';
    std::string scrambled = text;
    ScrambleHighLevel(scrambled);
    for (int pos : {7, 31, 45, 50, 130}) EXPECT_EQ(scrambled[pos - 1], '\\') << pos;
    EXPECT_EQ(scrambled.substr(59, 2), "//");
    EXPECT_EQ(scrambled[8 - 1], 'Q' - 1);
    EXPECT_EQ(scrambled[32 - 1], 'Q' - 2);
    EXPECT_EQ(scrambled[46 - 1], 'Q' - 1);
    EXPECT_EQ(scrambled[51 - 1], 'Q');
    EXPECT_EQ(scrambled[131 - 1], 'Q');
    std::string restored = scrambled;
    UnscrambleHighLevel(restored);
    EXPECT_EQ(restored, text);
}

TEST(Scramble, ShiftPassStopsAtLMinusTen) {
    for (std::size_t len : {11u, 20u, 77u}) {
        std::string atBound(len, 'Q');
        atBound[len - 10 - 1] = '/';  // position L-10: follower lowered
        std::string beyond(len, 'Q');
        beyond[len - 9 - 1] = '/';  // position L-9: follower kept
        std::string a = atBound, b = beyond;
        ScrambleHighLevel(a);
        ScrambleHighLevel(b);
        EXPECT_EQ(a[len - 10], 'P') << len;
        EXPECT_EQ(b[len - 9], 'Q') << len;
        EXPECT_EQ(b[len - 10], '\\') << len;
        UnscrambleHighLevel(a);
        UnscrambleHighLevel(b);
        EXPECT_EQ(a, atBound);
        EXPECT_EQ(b, beyond);
    }
}

TEST(Scramble, SlashRuleEdges) {
    std::string text = "/QQQQ//QQQ/QQQQ///Q/";
    ScrambleHighLevel(text);
    // Position 1 has no left neighbour, pairs and runs stay, position L is
    // never examined.
    EXPECT_EQ(text[0], '\\');
    EXPECT_EQ(text.substr(5, 2), "//");
    EXPECT_EQ(text[10], '\\');
    EXPECT_EQ(text.substr(15, 3), "///");
    EXPECT_EQ(text.back(), '/');
    std::string tiny = "/";
    ScrambleHighLevel(tiny);
    EXPECT_EQ(tiny, "/");
    std::string empty;
    ScrambleHighLevel(empty);
    UnscrambleHighLevel(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(Scramble, NothingShiftsUpToTenCharacters) {
    std::string text = "/Q/Q/Q/Q/Q";  // L = 10: slash rule only
    ScrambleHighLevel(text);
    EXPECT_EQ(text, "\\Q\\Q\\Q\\Q\\Q");
}

TEST(Scramble, LowDigitsBecomeSlashAndComeBack) {
    // The followers at 2 and 8 are both lowered by 1 (first shift, then
    // 1 mod 5): '0' is stored as '/', '1' as '0'.
    const std::string text = "/0QQQQ/1QQQQQQQQQQQQQQ";
    std::string scrambled = text;
    ScrambleHighLevel(scrambled);
    EXPECT_EQ(scrambled.substr(0, 2), "\\/");
    EXPECT_EQ(scrambled.substr(6, 2), "\\0");
    UnscrambleHighLevel(scrambled);
    EXPECT_EQ(scrambled, text);
}

TEST(Scramble, ShiftIsZeroAfterBackslashAtMultipleOfFive) {
    std::string text(30, 'Q');
    text[5 - 1] = '/';
    text[9 - 1] = '/';
    std::string scrambled = text;
    ScrambleHighLevel(scrambled);
    EXPECT_EQ(scrambled[6 - 1], 'P');   // first shift is 1
    EXPECT_EQ(scrambled[10 - 1], 'Q');  // 5 mod 5 = 0
}

// The two rules applied literally, one full pass each, 1-based as stated.
void ReferenceScramble(std::string& t) {
    const std::size_t len = t.size();
    auto at = [&](std::size_t pos) -> char& { return t[pos - 1]; };
    for (std::size_t i = 1; i + 1 <= len; ++i) {
        if (at(i) == '/' && at(i + 1) != '/' && (i == 1 || at(i - 1) != '/')) at(i) = '\\';
    }
    unsigned shift = 1;
    for (std::size_t j = 1; len > 10 && j <= len - 10; ++j) {
        if (at(j) == '\\') {
            at(j + 1) = static_cast<char>(static_cast<unsigned char>(at(j + 1)) - shift);
            shift = j % 5;
        }
    }
}

void ReferenceUnscramble(std::string& t) {
    const std::size_t len = t.size();
    auto at = [&](std::size_t pos) -> char& { return t[pos - 1]; };
    unsigned shift = 1;
    for (std::size_t i = 1; len > 10 && i <= len - 10; ++i) {
        if (at(i) == '\\') {
            at(i + 1) = static_cast<char>(static_cast<unsigned char>(at(i + 1)) + shift);
            shift = i % 5;
        }
    }
    for (char& c : t) {
        if (c == '\\') c = '/';
    }
}

TEST(Scramble, OnePassMatchesTheRulesAppliedLiterally) {
    std::mt19937 gen(23);
    const std::string base64Pool = "//////0123AQz+9";
    for (int round = 0; round < 3000; ++round) {
        std::string text(gen() % 80, '\0');
        for (auto& c : text) c = base64Pool[gen() % base64Pool.size()];
        std::string expected = text;
        ReferenceScramble(expected);
        std::string actual = text;
        ScrambleHighLevel(actual);
        ASSERT_EQ(actual, expected) << text;
        UnscrambleHighLevel(actual);
        ASSERT_EQ(actual, text);
        // Arbitrary bytes, as a damaged container would hold.
        std::string noise(gen() % 80, '\0');
        for (auto& c : noise) c = "\\/[]0A"[gen() % 7];
        std::string expectedNoise = noise;
        ReferenceUnscramble(expectedNoise);
        UnscrambleHighLevel(noise);
        ASSERT_EQ(noise, expectedNoise);
    }
}

TEST(Payload, StandardKeepsTextHighRemovesBreaksAndScrambles) {
    const std::string base64 = EncodeBase64Text(SlashHeavyBytes(300, 1));
    EXPECT_EQ(MakePayloadText(EncryptionClass::Standard, base64), base64);
    const std::string high = MakePayloadText(EncryptionClass::High, base64);
    EXPECT_EQ(high.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(high.size(), ContainerText(base64).size());
    EXPECT_NE(high.find('\\'), std::string::npos);
    std::string restored = high;
    UnscrambleHighLevel(restored);
    EXPECT_EQ(restored, ContainerText(base64));
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
    const std::string base64 = EncodeBase64Text(RandomBytes(100, 2));
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
    EXPECT_EQ(DecodeContainerFile(file), source);
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
            const std::string slow = StepByStepContainerFile(source, "Pass~word!", cls);
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
                ASSERT_EQ(DecodeContainerFile(file), source) << n;
                const std::string text = ContainerText(file);
                ASSERT_EQ(DecodeBase64Text(ExtractPayload(text)), source) << n;
                ASSERT_EQ(DecodeContainerText(text), source) << n;
            }
        }
        const std::string big = SlashHeavyBytes(1 << 20, 99);
        EXPECT_EQ(DecodeContainerFile(MakeContainerFile(big, "abcde", cls)), big);
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
            EXPECT_EQ(DecodeContainerFile(file), source) << n;
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
    EXPECT_EQ(text.substr(20, 20), EncodeBase64Text(source));
    EXPECT_EQ(DecodeContainerText(text), source);
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
    EXPECT_EQ(DecodeContainerText(text), source);
}

TEST(Reader, FollowsTheLineReadingRules) {
    SetGeneratorState(0);
    const std::string source = RandomBytes(500, 6);
    std::string file = MakeContainerFile(source, "abcde", EncryptionClass::Standard);
    std::string lfOnly = file;
    std::erase(lfOnly, '\r');
    EXPECT_EQ(DecodeContainerFile(lfOnly), source);
    // Everything from the first byte 26 on is never read.
    EXPECT_EQ(DecodeContainerFile(file + "\x1A" + "garbage****"), source);
    EXPECT_EQ(DecodeContainerFile("\x1A" + file), "");
}

TEST(Reader, ForeignAndDamagedTextsNeverFail) {
    EXPECT_EQ(DecodeContainerFile(""), "");
    EXPECT_EQ(ExtractPayload(""), "");
    EXPECT_NO_THROW(DecodeContainerFile("@@@@"));
    EXPECT_NO_THROW(DecodeContainerFile(std::string(47, '\\') + "@@@@"));
    EXPECT_NO_THROW(DecodeContainerFile(std::string(1000, '\\') + "@@@@"));
    EXPECT_NO_THROW(DecodeContainerFile(RandomBytes(5000, 1)));
}

}  // namespace
}  // namespace imgcrypt
