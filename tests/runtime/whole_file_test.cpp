#include "runtime/whole_file.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "runtime/line_text_file.h"
#include "runtime/replacing_file.h"
#include "tests/support/platform_files.h"
#include "tests/support/raised.h"
#include "tests/support/temp_folder.h"
#include "tests/support/whole_file_reader.h"

namespace imgcrypt {
namespace {

using test::kErrAlreadyExists;
using test::kErrFileNotFound;
using test::kErrFolderNotFound;
using test::kErrInUse;
using test::kErrIsFolder;
using test::MessageOf;
using test::ReadBytes;
using test::ReadWholeFile;
using test::TempFolder;
using test::WriteBytes;

std::string AllByteValues(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class WholeFileTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    std::string path_ = folder_ / "a.jpg";
};

TEST_F(WholeFileTest, ReadsEveryByteValueAndEmptyFiles) {
    for (std::size_t size : {0u, 1u, 255u, 65536u, 3'000'001u}) {
        const std::string bytes = AllByteValues(size);
        WriteBytes(path_, bytes);
        ASSERT_EQ(ReadWholeFile(path_), bytes) << size;
    }
}

TEST_F(WholeFileTest, ReadsAtAnyOffsetAndRefusesBytesThatAreNotThere) {
    const std::string bytes = AllByteValues(100000);
    WriteBytes(path_, bytes);
    FileReader file(path_);
    std::string got(1000, '\0');
    file.ReadAt(99000, got.data(), 1000);
    EXPECT_EQ(got, bytes.substr(99000));
    file.ReadAt(5, got.data(), 10);
    EXPECT_EQ(got.substr(0, 10), bytes.substr(5, 10));
    file.Read(got.data(), 3);  // in order, whatever was read at offsets
    EXPECT_EQ(got.substr(0, 3), bytes.substr(0, 3));
    EXPECT_THROW(file.ReadAt(99500, got.data(), 1000), EFOpenError);
    FileReader container(path_, FileErrors::LineText);
    EXPECT_THROW(container.ReadAt(99500, got.data(), 1000), EInOutError);
}

TEST_F(WholeFileTest, ReadFailuresNameTheAbsolutePath) {
    EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadWholeFile(folder_ / "none.jpg"); }),
              "Cannot open file \"" + (folder_ / "none.jpg") + "\". " +
                  SystemErrorText(kErrFileNotFound));
    const std::string cwd = test::Utf8(std::filesystem::current_path());
    EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadWholeFile("h1-none/none.jpg"); }),
              "Cannot open file \"" + cwd + test::NativePath("/h1-none/none.jpg") + "\". " +
                  SystemErrorText(kErrFolderNotFound));
    EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadWholeFile(folder_.path()); }),
              "Cannot open file \"" + folder_.path() + "\". " + SystemErrorText(kErrIsFolder));
}

TEST_F(WholeFileTest, AFileBeingWrittenCannotBeRead) {
    WriteBytes(path_, "");
    {
        const test::FileHeldOpenForWriting writer(path_);
        const std::string message = MessageOf<EFOpenError>([&] { ReadWholeFile(path_); });
        EXPECT_EQ(message, "Cannot open file \"" + path_ + "\". " + SystemErrorText(kErrInUse));
        EXPECT_EQ(test::InOutCodeOf([&] { FileReader(path_, FileErrors::LineText); }),
                  kCodeSharingViolation);
        EXPECT_FALSE(FileSizeOf(path_).has_value());
    }
    EXPECT_EQ(ReadWholeFile(path_), "");
}

TEST_F(WholeFileTest, ReplacingWriteCreatesAndReplacesWithoutLeftovers) {
    const std::string bytes = AllByteValues(1'000'003);
    WriteWholeFileReplacing(path_, bytes);
    EXPECT_EQ(ReadBytes(path_), bytes);
    WriteWholeFileReplacing(path_, "short");
    EXPECT_EQ(ReadBytes(path_), "short");
    WriteWholeFileReplacing(path_, "");
    EXPECT_EQ(ReadBytes(path_), "");
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(WholeFileTest, AReplacingWriteCanStartOverAndLeavesNothingUncommitted) {
    WriteBytes(path_, "old");
    {
        ReplacingFile writer(path_);
        writer.Write("first attempt");
        writer.StartOver();
        writer.Write("second");
        EXPECT_EQ(ReadBytes(path_), "old");
        writer.Commit();
    }
    EXPECT_EQ(ReadBytes(path_), "second");
    {
        ReplacingFile writer(path_);
        writer.Write("never committed");
    }
    EXPECT_EQ(ReadBytes(path_), "second");
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(WholeFileTest, ReplacingWriteFailureLeavesNothingBehind) {
    EXPECT_EQ(MessageOf<EFCreateError>([&] { WriteWholeFileReplacing(folder_ / "no/a.jpg", "x"); }),
              "Cannot create file \"" + (folder_ / "no/a.jpg") + "\". " +
                  SystemErrorText(kErrFolderNotFound));
    EXPECT_TRUE(folder_.Entries().empty());

    // A non-empty folder in the way: the write fails at the rename.
    const std::string keep = folder_.Write("blocked/keep.txt", "keep");
    EXPECT_THROW(WriteWholeFileReplacing(folder_ / "blocked", "data"), EFCreateError);
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"blocked"}));
    EXPECT_EQ(ReadBytes(keep), "keep");
}

TEST_F(WholeFileTest, FileSizeOnlyForReadableRegularFiles) {
    WriteBytes(path_, std::string(5000 * 1024, 'x'));
    EXPECT_EQ(FileSizeOf(path_), std::optional<std::uint64_t>(5000 * 1024));
    WriteBytes(path_, "");
    EXPECT_EQ(FileSizeOf(path_), std::optional<std::uint64_t>(0));
    EXPECT_FALSE(FileSizeOf(folder_ / "none").has_value());
    EXPECT_FALSE(FileSizeOf(folder_.path()).has_value());
}

TEST_F(WholeFileTest, CreateFolderSaysWhetherTheFolderIsThereAndWhyNot) {
    const std::string sub = folder_ / "encrypted";
    EXPECT_TRUE(CreateFolder(sub).exists);
    EXPECT_TRUE(test::IsFolder(sub));
    EXPECT_TRUE(CreateFolder(sub).exists);  // already there

    const FolderCreation deeper = CreateFolder(folder_ / "no/deeper");
    EXPECT_FALSE(deeper.exists);
    EXPECT_EQ(deeper.reason, SystemErrorText(kErrFolderNotFound));
    WriteBytes(folder_ / "file", "x");
    const FolderCreation blocked = CreateFolder(folder_ / "file");
    EXPECT_FALSE(blocked.exists);
    EXPECT_EQ(blocked.reason, SystemErrorText(kErrAlreadyExists));
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"encrypted", "file"}));
}

}  // namespace
}  // namespace imgcrypt
