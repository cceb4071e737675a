#include "runtime/text.h"

#include <gtest/gtest.h>

namespace imgcrypt {
namespace {

TEST(HexTextTest, PasswordBlockValuesGiveTwoDigits) {
    EXPECT_EQ(HexText(24, 2), "18");
    EXPECT_EQ(HexText(126, 2), "7E");
    EXPECT_EQ(HexText(10, 2), "0A");
    EXPECT_EQ(HexText(0, 2), "00");
    EXPECT_EQ(HexText(255, 2), "FF");
    EXPECT_EQ(HexText(256, 2), "100");
}

TEST(HexTextTest, NegativeValuesAreTheir32BitTwosComplement) {
    EXPECT_EQ(HexText(-1, 2), "FFFFFFFF");
    EXPECT_EQ(HexText(-256, 0), "FFFFFF00");
    EXPECT_EQ(HexText(0x1'0000'0001LL, 0), "1");  // wider values are cut to 32 bits
}

TEST(HexTextTest, MinimumDigitCount) {
    EXPECT_EQ(HexText(0, 0), "0");
    EXPECT_EQ(HexText(0xABC, 8), "00000ABC");
    EXPECT_EQ(HexText(1, 32), std::string(31, '0') + "1");
    EXPECT_EQ(HexText(1, 33), "1");  // above 32 counts as 0
    EXPECT_EQ(HexText(1, -4), "1");
}

TEST(DecimalTextTest, SignsAndZero) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(5000), "5000");
    EXPECT_EQ(DecimalText(-17), "-17");
    EXPECT_EQ(DecimalText(-2147483648LL), "-2147483648");
}

TEST(TrimBlanksTest, RemovesControlBytesAndBlanksAtBothEndsOnly) {
    EXPECT_EQ(TrimBlanks("abcdefg   "), "abcdefg");
    EXPECT_EQ(TrimBlanks("          "), "");
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks(std::string("\t\r\n\0 a b \x1f\0", 11)), "a b");
    EXPECT_EQ(TrimBlanks("\x7f!\xff"), "\x7f!\xff");  // bytes above 32 are kept
}

TEST(CharCountTest, Utf8CharactersAreCodePointsAndBadBytesCountOne) {
    EXPECT_EQ(Utf8CharCount(""), 0u);
    EXPECT_EQ(Utf8CharCount("abc"), 3u);
    EXPECT_EQ(Utf8CharCount("\xe5\x8a\xa0\xe5\xaf\x86"), 2u);  // two Chinese characters
    EXPECT_EQ(Utf8CharCount("\xf0\x9f\x98\x80"), 1u);          // outside the BMP
    EXPECT_EQ(Utf8CharCount("\xe5\x8a"), 2u);                  // truncated sequence
    EXPECT_EQ(Utf8CharCount("\xc0\xaf"), 2u);                  // overlong form
    EXPECT_EQ(Utf8CharCount("\xed\xa0\x80"), 3u);              // surrogate
    EXPECT_EQ(Utf8CharCount("\xff\x80"), 2u);
    EXPECT_EQ(Utf8CharLength("a\xe5\x8a\xa0", 1), 3u);
}

}  // namespace
}  // namespace imgcrypt
