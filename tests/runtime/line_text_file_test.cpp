#include "runtime/line_text_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "tests/support/line_oracle.h"
#include "tests/support/platform_files.h"
#include "tests/support/raised.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

using Lines = std::vector<std::string>;
using test::InOutCodeOf;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Bytes(const char* text, std::size_t size) {
    return std::string(text, size);
}

// The reader every container consumer uses: TakeLine until AtTextEnd.
Lines ReadAllLines(const std::string& path) {
    LineTextFile file = OpenTextForReading(path);
    Lines lines;
    while (!AtTextEnd(file)) lines.push_back(TakeLine(file));
    CloseText(file);
    return lines;
}

std::string Join(const Lines& lines) {
    std::string joined;
    for (const auto& line : lines) joined += line;
    return joined;
}

class LineTextFileTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    std::string path_ = folder_ / "text.txt";
};

// ---- Writing ----

TEST_F(LineTextFileTest, WritesBytesExactlyWithCrLfBreaks) {
    LineTextFile file = CreateTextForReplacing(path_);
    PutText(file, "en");
    PutLineBreak(file);
    CloseText(file);
    EXPECT_EQ(ReadBytes(path_), "en\r\n");

    file = CreateTextForReplacing(path_);  // replaces
    PutText(file, Bytes("a\nb\rc\0\x1a\xff", 8));
    CloseText(file);
    EXPECT_EQ(ReadBytes(path_), Bytes("a\nb\rc\0\x1a\xff", 8));
}

TEST_F(LineTextFileTest, TextEndingInCrLfWrittenAsALineReadsBackWithAnEmptyLastLine) {
    LineTextFile file = CreateTextForReplacing(path_);
    PutText(file, "ab\r\ncd\r\n");
    PutLineBreak(file);
    CloseText(file);
    EXPECT_EQ(ReadBytes(path_), "ab\r\ncd\r\n\r\n");
    EXPECT_EQ(ReadAllLines(path_), (Lines{"ab", "cd", ""}));
}

TEST_F(LineTextFileTest, LargeAndSmallWritesKeepTheirOrder) {
    std::string expected;
    LineTextFile file = CreateTextForReplacing(path_);
    for (int round = 0; round < 6; ++round) {
        const std::string small(static_cast<std::size_t>(round * 1000 + 7),
                                static_cast<char>('a' + round));
        const std::string large(static_cast<std::size_t>(70000 + round),
                                static_cast<char>('A' + round));
        PutText(file, small);
        PutText(file, large);
        PutLineBreak(file);
        expected += small + large + "\r\n";
    }
    CloseText(file);
    EXPECT_EQ(ReadBytes(path_), expected);
}

// A size announced beforehand sets room aside; what is written decides the
// file's bytes all the same.
TEST_F(LineTextFileTest, AnExpectedSizeNeverChangesTheBytes) {
    const std::string big(3'000'001, 'b');
    for (const std::uint64_t expected : {std::uint64_t{0}, std::uint64_t{big.size()},
                                         std::uint64_t{big.size() + 4}, std::uint64_t{5} << 20}) {
        LineTextFile file = CreateTextForReplacing(path_, expected);
        PutText(file, big.substr(0, 123));
        PutText(file, big.substr(123));
        CloseText(file);
        ASSERT_EQ(ReadBytes(path_), big) << expected;
    }
}

TEST_F(LineTextFileTest, MovedFileKeepsWorkingAndTheSourceIsClosed) {
    LineTextFile first = CreateTextForReplacing(path_);
    PutText(first, "one");
    LineTextFile second = std::move(first);
    EXPECT_EQ(first.mode(), LineTextFile::Mode::Closed);  // NOLINT(bugprone-use-after-move)
    PutLineBreak(second);
    CloseText(second);
    EXPECT_EQ(ReadBytes(path_), "one\r\n");
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"text.txt"}));
}

TEST_F(LineTextFileTest, OperationsInTheWrongModeRaise) {
    WriteBytes(path_, "x");
    LineTextFile reader = OpenTextForReading(path_);
    EXPECT_THROW(PutText(reader, "y"), EInOutError);
    LineTextFile writer = CreateTextForReplacing(folder_ / "w.txt");
    EXPECT_THROW(TakeLine(writer), EInOutError);
    EXPECT_THROW(AtTextEnd(writer), EInOutError);
    LineTextFile closed;
    EXPECT_THROW(TakeLine(closed), EInOutError);
    EXPECT_THROW(PutLineBreak(closed), EInOutError);
    EXPECT_NO_THROW(CloseText(closed));
}

// ---- Reading line by line ----

struct LineCase {
    std::string bytes;
    Lines lines;
};

class TakeLineRules : public ::testing::TestWithParam<LineCase> {};

// The joined lines are also the text the container decoder reads.
TEST_P(TakeLineRules, SplitsLikeTheOriginalReader) {
    TempFolder folder;
    const std::string path = folder / "case.txt";
    WriteBytes(path, GetParam().bytes);
    EXPECT_EQ(ReadAllLines(path), GetParam().lines);
    EXPECT_EQ(test::JoinedReadLines(GetParam().bytes), Join(GetParam().lines));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TakeLineRules,
    ::testing::Values(LineCase{"", {}}, LineCase{"abc", {"abc"}}, LineCase{"a\nb", {"a", "b"}},
                      LineCase{"a\r\nb\r\n", {"a", "b"}}, LineCase{"a\n\nb", {"a", "", "b"}},
                      LineCase{"\r\n", {""}}, LineCase{"\n\r\n", {"", ""}},
                      LineCase{"a\rb\n", {"ab"}},        // lone CR dropped, line goes on
                      LineCase{"a\r\r\nb", {"a", "b"}},  // CR CR LF: first CR dropped
                      LineCase{"a\r", {"a"}},            // CR at end of file
                      LineCase{"\r", {""}}, LineCase{"a\n\r", {"a", ""}},
                      LineCase{"a\r\x1a"
                               "b",
                               {"a"}},  // CR before byte 26
                      LineCase{"\x1a"
                               "abc\n",
                               {}},  // byte 26 first
                      LineCase{"ab\x1a"
                               "cd\nef",
                               {"ab"}},  // byte 26 mid-line
                      LineCase{"ab\n\x1a\ncd", {"ab"}},
                      LineCase{Bytes("a\0b\n\0", 5), {Bytes("a\0b", 3), Bytes("\0", 1)}}));

TEST_F(LineTextFileTest, EndOfTextIsStableAndConsumesNothing) {
    WriteBytes(path_,
               "ab\x1a"
               "cd");
    LineTextFile file = OpenTextForReading(path_);
    EXPECT_FALSE(AtTextEnd(file));
    EXPECT_EQ(TakeLine(file), "ab");
    EXPECT_TRUE(AtTextEnd(file));
    EXPECT_EQ(TakeLine(file), "");  // stays on the byte 26
    EXPECT_EQ(TakeLine(file), "");
    EXPECT_TRUE(AtTextEnd(file));
    CloseText(file);

    WriteBytes(path_, "");
    LineTextFile empty = OpenTextForReading(path_);
    EXPECT_TRUE(AtTextEnd(empty));
    EXPECT_EQ(TakeLine(empty), "");  // the first-line reader of an empty settings file
    EXPECT_TRUE(AtTextEnd(empty));
}

TEST_F(LineTextFileTest, LastLineWithoutBreakIsReadAndEndsTheText) {
    WriteBytes(path_, "one\r\ntwo");
    LineTextFile file = OpenTextForReading(path_);
    EXPECT_EQ(TakeLine(file), "one");
    EXPECT_FALSE(AtTextEnd(file));
    EXPECT_EQ(TakeLine(file), "two");
    EXPECT_TRUE(AtTextEnd(file));
}

TEST_F(LineTextFileTest, BreaksAndEndMarksAtEveryBufferBoundaryPosition) {
    // Whatever the buffer size, some of these put the CR as the last byte of a buffer.
    for (std::size_t size : {4095u, 4096u, 8191u, 65535u, 65536u, 65537u, 131071u, 131072u}) {
        const std::string body(size, 'x');
        const std::string tail(100, 'y');
        WriteBytes(path_, body + "\r\n" + tail);
        EXPECT_EQ(ReadAllLines(path_), (Lines{body, tail})) << size;
        WriteBytes(path_, body + "\r" + tail);
        EXPECT_EQ(ReadAllLines(path_), (Lines{body + tail})) << size;
        WriteBytes(path_, body + "\r");
        EXPECT_EQ(ReadAllLines(path_), (Lines{body})) << size;
        WriteBytes(path_, body + "\r\x1a" + tail);
        EXPECT_EQ(ReadAllLines(path_), (Lines{body})) << size;
        WriteBytes(path_, body + "\x1a" + tail);
        EXPECT_EQ(ReadAllLines(path_), (Lines{body})) << size;
    }
}

TEST_F(LineTextFileTest, VeryLongLinesComeBackWhole) {
    const std::string million(1'000'000, 'Q');
    WriteBytes(path_, million + "\r\nend");
    EXPECT_EQ(ReadAllLines(path_), (Lines{million, "end"}));

    // A high-level container is one line of about 7 MB.
    std::string seven;
    for (int i = 0; seven.size() < 7'000'000; ++i) seven += static_cast<char>('A' + i % 26);
    WriteBytes(path_, seven);
    EXPECT_EQ(ReadAllLines(path_), (Lines{seven}));
}

// The line loop joins to the decoder's text on every input: random files
// over the bytes that matter, some longer than any buffer.
TEST_F(LineTextFileTest, JoinedLinesAreTheDecodersText) {
    std::mt19937 random(12345);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\x1a', '\0', '\xff'};
    for (int round = 0; round < 300; ++round) {
        std::size_t size = random() % 200;
        if (round % 50 == 0) size = 65536 + random() % 70000;
        // Byte 26 is rare in most rounds so the text goes on long enough to matter.
        const std::size_t stopOdds = round % 3 == 0 ? 7 : 20000;
        std::string bytes;
        for (std::size_t i = 0; i < size; ++i) {
            char c = alphabet[random() % 7];
            if (c == '\x1a' && random() % stopOdds != 0) c = 'c';
            bytes += c;
        }
        WriteBytes(path_, bytes);
        ASSERT_EQ(Join(ReadAllLines(path_)), test::JoinedReadLines(bytes)) << round;
    }
}

// ---- Failures ----

TEST_F(LineTextFileTest, MissingFileAndMissingFolderHaveTheirOwnCodes) {
    try {
        OpenTextForReading(folder_ / "missing.txt");
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.code(), 2);
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(InOutCodeOf([&] { OpenTextForReading(folder_ / "no/missing.txt"); }), 3);
    EXPECT_EQ(InOutCodeOf([&] { CreateTextForReplacing(folder_ / "no/new.txt"); }), 3);
    EXPECT_EQ(InOutCodeOf([&] { OpenTextForReading(folder_.path()); }), 5);
}

TEST_F(LineTextFileTest, AFileBeingWrittenElsewhereIsNotReadButReadersShare) {
    WriteBytes(path_, "old\r\n");
    {
        const test::FileHeldOpenForWriting writer(path_);
        try {
            OpenTextForReading(path_);
            FAIL() << "no error";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.code(), kCodeSharingViolation);
            EXPECT_STREQ(error.what(), "I/O error 32");
        }
    }
    LineTextFile reader = OpenTextForReading(path_);
    LineTextFile secondReader = OpenTextForReading(path_);  // readers share
    EXPECT_EQ(TakeLine(secondReader), "old");
    EXPECT_EQ(TakeLine(reader), "old");
}

// ---- Replacing writes ----

TEST_F(LineTextFileTest, ReplacingWriteShowsNothingUntilClosedAndLeavesNoTemporary) {
    WriteBytes(path_, "old");
    LineTextFile file = CreateTextForReplacing(path_);
    PutText(file, std::string(200000, 'n'));
    EXPECT_EQ(ReadBytes(path_), "old");
    CloseText(file);
    EXPECT_EQ(ReadBytes(path_), std::string(200000, 'n'));
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"text.txt"}));
}

TEST_F(LineTextFileTest, AbandonedReplacingWriteKeepsTheOldFile) {
    WriteBytes(path_, "old");
    {
        LineTextFile file = CreateTextForReplacing(path_);
        PutText(file, std::string(100000, 'n'));
        PutLineBreak(file);
    }
    EXPECT_EQ(ReadBytes(path_), "old");
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"text.txt"}));

    {
        LineTextFile file = CreateTextForReplacing(folder_ / "fresh.txt");
        PutText(file, "x");
    }
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"text.txt"}));
}

TEST_F(LineTextFileTest, FailedRenameRaisesAndRemovesTheTemporary) {
    const std::string blocked = folder_ / "blocked";
    test::MakeFolders(folder_ / "blocked/inside");  // a non-empty folder cannot be replaced
    LineTextFile file = CreateTextForReplacing(blocked);
    PutText(file, "data");
    EXPECT_THROW(CloseText(file), EInOutError);
    EXPECT_EQ(file.mode(), LineTextFile::Mode::Closed);
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"blocked"}));
}

TEST_F(LineTextFileTest, LongFileNamesCanBeReplaced) {
    const std::string path = folder_ / std::string(250, 'n');
    LineTextFile file = CreateTextForReplacing(path);
    PutText(file, "ok");
    CloseText(file);
    EXPECT_EQ(ReadBytes(path), "ok");
    EXPECT_EQ(folder_.Entries().size(), 1u);
}

}  // namespace
}  // namespace imgcrypt
