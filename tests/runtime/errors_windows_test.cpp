// Error codes and texts as Windows gives them: its own codes reach the
// user's messages unchanged, and paths are made absolute the Windows way.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "runtime/utf16.h"

namespace imgcrypt {
namespace {

std::string CurrentFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
    std::string folder = Utf8FromUtf16(std::wstring_view(buffer, length));
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

TEST(InOutCodeFromSystemErrorTest, SystemCodesAreTheCodesUsersSee) {
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_FILE_NOT_FOUND, "x"), kCodeFileNotFound);
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_PATH_NOT_FOUND, "x"), kCodeInvalidFilename);
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_TOO_MANY_OPEN_FILES, "x"), kCodeTooManyOpenFiles);
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_ACCESS_DENIED, "x"), kCodeAccessDenied);
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_SHARING_VIOLATION, "x"), kCodeSharingViolation);
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_DISK_FULL, "x"), kCodeDiskFull);
    // "Disk full" as a handle reports it is the same failure to a user.
    EXPECT_EQ(InOutCodeFromSystemError(ERROR_HANDLE_DISK_FULL, "x"), kCodeDiskFull);
    EXPECT_EQ(InOutMessage(InOutCodeFromSystemError(ERROR_LOCK_VIOLATION, "x")), "I/O error 33");
}

TEST(FileErrorTextTest, NamesTheAbsolutePathAndTheSystemsText) {
    // The system's text, not the C library's (errno 2 would read the same
    // by chance; 32 would not).
    const std::string inUse = SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_NE(inUse, SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(inUse.find('\r'), std::string::npos) << inUse;
    EXPECT_EQ(std::string(EFOpenError("C:\\data\\a.jpg", ERROR_SHARING_VIOLATION).what()),
              "Cannot open file \"C:\\data\\a.jpg\". " + inUse);
    EXPECT_EQ(std::string(EFCreateError("sub/相册/a.jpg", ERROR_DISK_FULL).what()),
              "Cannot create file \"" + CurrentFolder() + "sub\\相册\\a.jpg\". " +
                  SystemErrorText(ERROR_DISK_FULL));
}

TEST(AbsolutePathTest, DrivesBackslashesAndDots) {
    EXPECT_EQ(AbsolutePath("C:\\srv\\a.jpg"), "C:\\srv\\a.jpg");
    EXPECT_EQ(AbsolutePath("C:/srv/a.jpg"), "C:\\srv\\a.jpg");
    EXPECT_EQ(AbsolutePath("C:\\srv\\x\\..\\.\\a b.jpg"), "C:\\srv\\a b.jpg");
    EXPECT_EQ(AbsolutePath("a.jpg"), CurrentFolder() + "a.jpg");
    EXPECT_EQ(AbsolutePath("照片.jpg"), CurrentFolder() + "照片.jpg");
    // A folder on the current drive.
    EXPECT_EQ(AbsolutePath("\\srv\\a.jpg"), CurrentFolder().substr(0, 2) + "\\srv\\a.jpg");
}

}  // namespace
}  // namespace imgcrypt
