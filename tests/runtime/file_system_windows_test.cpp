// The file layer as only Windows has it: sharing modes other programs set,
// the read-only attribute, and the system's own codes and texts for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/app_folders.h"
#include "runtime/errors.h"
#include "runtime/file_handle.h"
#include "runtime/line_text_file.h"
#include "runtime/utf16.h"
#include "runtime/whole_file.h"
#include "tests/support/raised.h"
#include "tests/support/temp_folder.h"
#include "tests/support/whole_file_reader.h"

namespace imgcrypt {
namespace {

using test::MessageOf;
using test::ReadBytes;
using test::ReadWholeFile;
using test::TempFolder;

// Another program's handle on `path` with the given access and sharing.
FileHandle OpenElsewhere(const std::string& path, DWORD access, DWORD sharing) {
    const HANDLE handle = ::CreateFileW(Utf16FromUtf8(path).c_str(), access, sharing, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path << ": " << ::GetLastError();
    return FileHandle(reinterpret_cast<FileHandle::Native>(handle));
}

class WindowsFileSystem : public ::testing::Test {
  protected:
    TempFolder folder_;
    std::string path_ = folder_.Write("a.jpg", "old bytes");
};

// Whatever sharing the other program grants, nobody reads a file while it
// is being written, and nothing of ours cuts or replaces it.
TEST_F(WindowsFileSystem, AFileAnotherProgramWritesIsNeitherReadNorWritten) {
    const std::string inUse = "I/O error 32";
    for (const DWORD sharing :
         {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        SCOPED_TRACE(sharing);
        FileHandle writer = OpenElsewhere(path_, GENERIC_WRITE, sharing);
        EXPECT_EQ(MessageOf<EInOutError>([&] { OpenTextForReading(path_); }), inUse);
        EXPECT_EQ(MessageOf<EInOutError>([&] { FileReader(path_, FileErrors::LineText); }), inUse);
        EXPECT_EQ(
            MessageOf<EFOpenError>([&] { ReadWholeFile(path_); }),
            "Cannot open file \"" + path_ + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(FileSizeOf(path_).has_value());
        EXPECT_EQ(
            MessageOf<EFCreateError>([&] { WriteWholeFileReplacing(path_, "new"); }),
            "Cannot create file \"" + path_ + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
        LineTextFile replacing = CreateTextForReplacing(path_);
        PutText(replacing, "new");
        EXPECT_EQ(MessageOf<EInOutError>([&] { CloseText(replacing); }), inUse);
        writer.Close();
        EXPECT_EQ(ReadBytes(path_), "old bytes");
        EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"a.jpg"});
    }
}

// A reader that lets others read is no obstacle to reading, but to writing.
TEST_F(WindowsFileSystem, AFileAnotherProgramReadsCanBeReadButNotWritten) {
    FileHandle reader = OpenElsewhere(path_, GENERIC_READ, FILE_SHARE_READ);
    EXPECT_EQ(ReadWholeFile(path_), "old bytes");
    LineTextFile text = OpenTextForReading(path_);
    EXPECT_EQ(TakeLine(text), "old bytes");
    EXPECT_THROW(WriteWholeFileReplacing(path_, "new"), EFCreateError);
    reader.Close();
    EXPECT_EQ(ReadBytes(path_), "old bytes");
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"a.jpg"});
}

// Missing file 2, missing folder 3: the system's codes, with the messages
// users know from the Linux build.
TEST_F(WindowsFileSystem, MissingFilesAndFoldersGiveTheFamiliarMessages) {
    EXPECT_EQ(MessageOf<EInOutError>([&] { OpenTextForReading(folder_ / "none.jpg"); }),
              "File not found");
    EXPECT_EQ(MessageOf<EInOutError>([&] { OpenTextForReading(folder_ / "无/none.jpg"); }),
              "Invalid filename");
    EXPECT_EQ(MessageOf<EInOutError>([&] { CreateTextForReplacing(folder_ / "无/a.jpg"); }),
              "Invalid filename");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { ReadWholeFile(folder_ / "none.jpg"); }),
              "Cannot open file \"" + (folder_ / "none.jpg") + "\". " +
                  SystemErrorText(ERROR_FILE_NOT_FOUND));
}

// A read-only file is read as usual and left as it was. (Whether a
// replacing write may put a new file in its place is the system's call:
// Windows refuses, Wine lets the rename through.)
TEST_F(WindowsFileSystem, AReadOnlyFileIsReadAsUsual) {
    const std::wstring wide = Utf16FromUtf8(path_);
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps the attribute as Unix permission bits, which do not stop
    // root; Windows itself always refuses.
    const HANDLE probe = ::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        GTEST_SKIP() << "this system lets a writer into a read-only file (Wine run by root)";
    }
    EXPECT_EQ(ReadWholeFile(path_), "old bytes");
    LineTextFile text = OpenTextForReading(path_);
    EXPECT_EQ(TakeLine(text), "old bytes");
    EXPECT_EQ(ReadBytes(path_), "old bytes");
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"a.jpg"});
}

TEST_F(WindowsFileSystem, ForwardSlashesSeparateFoldersToo) {
    const std::string slashed = folder_.path() + "/相册/照片.jpg";
    ASSERT_TRUE(CreateFolder(folder_.path() + "/相册").exists);
    WriteWholeFileReplacing(slashed, "bytes");
    EXPECT_EQ(ReadWholeFile(folder_ / "相册/照片.jpg"), "bytes");
    EXPECT_EQ(test::Entries(folder_ / "相册"), std::vector<std::string>{"照片.jpg"});
}

// A program whose own folder is not writable keeps its settings here.
TEST(WindowsAppFolders, TheUsersFolderIsInTheRoamingApplicationData) {
    wchar_t appData[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(UserConfigFolder(),
              Utf8FromUtf16(std::wstring_view(appData, length)) + "\\imgcrypt\\");
}

}  // namespace
}  // namespace imgcrypt
