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

TEST(UpperAsciiTest, OnlyLowerCaseAsciiChanges) {
    EXPECT_EQ(UpperAscii("abc.jpg XyZ 09"), "ABC.JPG XYZ 09");
    // The trailing 'a' follows a lead byte (as in a double-byte character): it still changes.
    EXPECT_EQ(UpperAscii("\xe4\xb8\xad\x81"
                         "a\xff"),
              "\xe4\xb8\xad\x81"
              "A\xff");
    EXPECT_EQ(UpperAscii("`{@["), "`{@[");
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

TEST(LeftRightCharsTest, CountLimits) {
    EXPECT_EQ(LeftChars("abcdef", 0), "");
    EXPECT_EQ(LeftChars("abcdef", -3), "");
    EXPECT_EQ(LeftChars("abcdef", 2), "ab");
    EXPECT_EQ(LeftChars("abcdef", 6), "abcdef");
    EXPECT_EQ(LeftChars("abcdef", 100), "abcdef");
    EXPECT_EQ(RightChars("abcdef", 0), "");
    EXPECT_EQ(RightChars("abcdef", -1), "");
    EXPECT_EQ(RightChars("abcdef", 4), "cdef");
    EXPECT_EQ(RightChars("abcdef", 100), "abcdef");
    EXPECT_EQ(LeftChars("", 3), "");
    EXPECT_EQ(RightChars("", 3), "");
}

TEST(LeftRightCharsTest, MultiByteCharactersAreNeverSplit) {
    const std::string text = "a\xe5\x8a\xa0\xe5\xaf\x86z";  // a, two Chinese characters, z
    EXPECT_EQ(LeftChars(text, 2), "a\xe5\x8a\xa0");
    EXPECT_EQ(RightChars(text, 2), "\xe5\xaf\x86z");
    EXPECT_EQ(RightChars(text, 3), "\xe5\x8a\xa0\xe5\xaf\x86z");
    EXPECT_EQ(LeftChars(text, 4), text);
    // An invalid byte is one character of its own.
    EXPECT_EQ(LeftChars("\xff\xfe"
                        "ab",
                        1),
              "\xff");
    EXPECT_EQ(RightChars("ab\xe5\x8a", 1), "\x8a");
}

TEST(CopyBytesTest, Bounds) {
    EXPECT_EQ(CopyBytes("abcdef", 2, 3), "bcd");
    EXPECT_EQ(CopyBytes("abcdef", 0, 2), "ab");  // index below 1 counts as 1, count kept
    EXPECT_EQ(CopyBytes("abcdef", -5, 2), "ab");
    EXPECT_EQ(CopyBytes("abcdef", 5, 100), "ef");  // cut at the end
    EXPECT_EQ(CopyBytes("abcdef", 6, 1), "f");
    EXPECT_EQ(CopyBytes("abcdef", 7, 1), "");
    EXPECT_EQ(CopyBytes("abcdef", 2, -1), "");
    EXPECT_EQ(CopyBytes("abcdef", 2, 0), "");
    EXPECT_EQ(CopyBytes("", 1, 5), "");
    EXPECT_EQ(CopyBytes(std::string("a\0b", 3), 2, 2), std::string("\0b", 2));
}

TEST(DeleteBytesTest, Bounds) {
    EXPECT_EQ(DeleteBytes("abcdef", 2, 3), "aef");
    EXPECT_EQ(DeleteBytes("abcdef", 4, 100), "abc");
    EXPECT_EQ(DeleteBytes("abcdef", 6, 1), "abcde");
    EXPECT_EQ(DeleteBytes("abcdef", 0, 2), "abcdef");
    EXPECT_EQ(DeleteBytes("abcdef", 7, 2), "abcdef");
    EXPECT_EQ(DeleteBytes("abcdef", 2, 0), "abcdef");
    EXPECT_EQ(DeleteBytes("abcdef", 2, -3), "abcdef");
    EXPECT_EQ(DeleteBytes("", 1, 1), "");
}

TEST(InsertBytesTest, Bounds) {
    EXPECT_EQ(InsertBytes("XY", "abc", 1), "XYabc");
    EXPECT_EQ(InsertBytes("XY", "abc", 2), "aXYbc");
    EXPECT_EQ(InsertBytes("XY", "abc", 3), "abXYc");
    EXPECT_EQ(InsertBytes("XY", "abc", 4), "abcXY");
    EXPECT_EQ(InsertBytes("XY", "abc", 99), "abcXY");
    EXPECT_EQ(InsertBytes("XY", "abc", 0), "XYabc");
    EXPECT_EQ(InsertBytes("XY", "abc", -7), "XYabc");
    EXPECT_EQ(InsertBytes("", "abc", 2), "abc");
    EXPECT_EQ(InsertBytes("XY", "", 5), "XY");
}

TEST(FindBytesTest, FirstOccurrenceOrZero) {
    EXPECT_EQ(FindBytes("****", "abc****d****"), 4);
    EXPECT_EQ(FindBytes("a", "a"), 1);
    EXPECT_EQ(FindBytes("@@@@", "abc****"), 0);
    EXPECT_EQ(FindBytes("", "abc"), 0);
    EXPECT_EQ(FindBytes("a", ""), 0);
    EXPECT_EQ(FindBytes("abcd", "abc"), 0);
    EXPECT_EQ(FindBytes("C", "abc"), 0);  // exact byte comparison
    EXPECT_EQ(FindBytes(std::string("\0x", 2), std::string("ab\0x", 4)), 3);
}

}  // namespace
}  // namespace imgcrypt
