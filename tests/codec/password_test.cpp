#include "codec/password.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace imgcrypt {
namespace {

const PasswordRuleTexts kTexts{"short", "blank", "illegal"};

std::vector<std::string> Messages(std::string_view password) {
    const PasswordCheck check = getencsn(password, kTexts);
    EXPECT_EQ(check.valid, check.messages.empty()) << password;
    return check.messages;
}

using Strings = std::vector<std::string>;

TEST(PasswordRules, LengthComesFirstAndCountsCharacters) {
    EXPECT_EQ(Messages("abcd"), Strings{"short"});
    EXPECT_EQ(Messages(""), Strings{"short"});
    EXPECT_EQ(Messages("a b "), Strings{"short"}) << "a blank in a short password";
    EXPECT_EQ(Messages("ab\x7f"
                       "c"),
              Strings{"short"});
    EXPECT_TRUE(Messages("abcde").empty());
    EXPECT_TRUE(Messages("abcdefghij").empty());
    // Four Chinese characters are 12 bytes but still too short.
    EXPECT_EQ(Messages("密码密码"), Strings{"short"});
}

TEST(PasswordRules, AcceptsTheWholePrintableRange) {
    EXPECT_TRUE(Messages("!!!!!").empty());
    EXPECT_TRUE(Messages("~~~~~").empty());
    EXPECT_TRUE(Messages("!aZ9~").empty());
}

TEST(PasswordRules, ReportsOnlyTheFirstBadCharacter) {
    EXPECT_EQ(Messages("ab cde"), Strings{"blank"});
    EXPECT_EQ(Messages("abcde\x7f"), (Strings{"str0[i]:\x7f", "illegal"}));
    EXPECT_EQ(Messages("abc\tde f"), (Strings{"str0[i]:\t", "illegal"}));
    EXPECT_EQ(Messages("ab c\x01"), Strings{"blank"});
}

TEST(PasswordRules, NonAsciiCharacterIsShownWhole) {
    EXPECT_EQ(Messages("abcd密"), (Strings{"str0[i]:密", "illegal"}));
    EXPECT_EQ(Messages("é1234"), (Strings{"str0[i]:é", "illegal"}));
    // A stray continuation byte counts as one character of its own.
    EXPECT_EQ(Messages("abcd\x80x"), (Strings{"str0[i]:\x80", "illegal"}));
}

TEST(PasswordPadding, PadsToTenAndKeepsLongerTexts) {
    EXPECT_EQ(strto10("abc"), "abc       ");
    EXPECT_EQ(strto10(""), std::string(10, ' '));
    EXPECT_EQ(strto10("abcdefghij"), "abcdefghij");
    EXPECT_EQ(strto10("abcdefghijkl"), "abcdefghijkl");
}

TEST(PasswordBlock, EncodesPaddedCodesMinusShift) {
    // Shift 6: the added blanks are 32 - 6 = 26 = "1A".
    EXPECT_EQ(MakePasswordBlock("abcde", 6), "5B5C5D5E5F1A1A1A1A1A");
    EXPECT_EQ(MakePasswordBlock("abcde", 0),
              "6162636465"
              "2020202020");
    EXPECT_EQ(MakePasswordBlock("~~~~~~~~~~", 0), "7E7E7E7E7E7E7E7E7E7E");
    EXPECT_EQ(MakePasswordBlock("!!!!!", 8), "19191919191818181818");
}

TEST(PasswordBlock, StaysTwentyCharactersBelowTheShift) {
    // Only reachable with a password that breaks the rules.
    const std::string block = MakePasswordBlock(std::string("\x01\x02\x03\x04\x05", 5), 8);
    EXPECT_EQ(block, "F9FAFBFCFD1818181818");
    EXPECT_EQ(block.size(), 20u);
}

TEST(PasswordBlock, UsesOnlyTenCharacters) {
    EXPECT_EQ(MakePasswordBlock("abcdefghijKL", 0), "6162636465666768696A");
}

TEST(HexPair, ReadsBothCasesAndNeverFails) {
    EXPECT_EQ(hexpair("7E"), 126);
    EXPECT_EQ(hexpair("7e"), 126);
    EXPECT_EQ(hexpair("fF"), 255);
    EXPECT_EQ(hexpair("1"), 0);
    EXPECT_EQ(hexpair(""), 0);
    EXPECT_EQ(hexpair("123"), 0);
    const int odd = hexpair("zz");
    EXPECT_GE(odd, 0);
    EXPECT_LE(odd, 255);
}

// A container text: block, a body, then shift character, fillers and marker.
std::string ContainerText(const std::string& password, char shiftChar) {
    const int k = static_cast<unsigned char>(shiftChar) % 9;
    return MakePasswordBlock(password, k) + std::string(40, 'Q') + std::string(20, 'H') +
           shiftChar + "xyz****";
}

TEST(PasswordReading, GivesBackTheTypedPasswordAtEveryShift) {
    for (char shift = 33; shift < 126; ++shift) {
        for (const std::string password : {"abcde", "!~!~!~!~!~", "Passw0rd", "12345678"}) {
            const std::string text = ContainerText(password, shift);
            EXPECT_EQ(ReadPassword(text), password) << int{shift};
            EXPECT_TRUE(PasswordMatches(text, password));
        }
    }
}

TEST(PasswordReading, LowerCaseBlockReadsTheSame) {
    std::string text = ContainerText("zzzzz", '!');
    std::string lowered = text;
    for (std::size_t i = 0; i < 20; ++i) lowered[i] = static_cast<char>(std::tolower(lowered[i]));
    ASSERT_NE(lowered, text);
    EXPECT_EQ(ReadPassword(lowered), "zzzzz");
}

TEST(PasswordReading, ComparisonIsExact) {
    const std::string text = ContainerText("Secret", ':');
    EXPECT_TRUE(PasswordMatches(text, "Secret"));
    EXPECT_FALSE(PasswordMatches(text, "secret"));
    EXPECT_FALSE(PasswordMatches(text, "Secret "));
    EXPECT_FALSE(PasswordMatches(text, "Secre"));
}

TEST(PasswordReading, ShortAndForeignTextsNeverFail) {
    EXPECT_EQ(ReadPassword(""), "");
    EXPECT_FALSE(PasswordMatches("", ""));
    // 1..7 characters: the first one is the shift character. "4" is 52,
    // shift 7; the pair "4" is too short and counts as 0 -> code 7, trimmed.
    EXPECT_EQ(ReadPassword("4"), "");
    // "41" -> 0x41 + (52 % 9 = 7) = 'H'.
    EXPECT_EQ(ReadPassword("41"), "H");
    EXPECT_NO_THROW(ReadPassword(std::string("\xff\x00zz\x1a", 5)));
    EXPECT_NO_THROW(ReadPassword(std::string(300, '\xff')));
}

}  // namespace
}  // namespace imgcrypt
