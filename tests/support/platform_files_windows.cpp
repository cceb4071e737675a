#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/utf16.h"
#include "tests/support/platform_files.h"

namespace imgcrypt::test {

const int kErrFileNotFound = ERROR_FILE_NOT_FOUND;
const int kErrFolderNotFound = ERROR_PATH_NOT_FOUND;
const int kErrIsFolder = ERROR_ACCESS_DENIED;
const int kErrAlreadyExists = ERROR_ALREADY_EXISTS;
const int kErrInUse = ERROR_SHARING_VIOLATION;

FileHeldOpenForWriting::FileHeldOpenForWriting(const std::string& path)
    : file_(reinterpret_cast<FileHandle::Native>(
          ::CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {
    EXPECT_TRUE(file_.valid()) << path << ": system error " << ::GetLastError();
}

}  // namespace imgcrypt::test
