// What the tests need of the system beneath the program, one implementation
// per platform (platform_files_posix.cpp, platform_files_windows.cpp): the
// system's own error codes of the failures the tests provoke, and another
// program holding a file open.
#pragma once

#include <string>

#include "runtime/file_handle.h"

namespace imgcrypt::test {

// errno values on POSIX, system error codes on Windows.
extern const int kErrFileNotFound;    // a missing file in an existing folder
extern const int kErrFolderNotFound;  // a folder on the path is missing
extern const int kErrIsFolder;        // a folder opened as a file
extern const int kErrAlreadyExists;   // a folder made where a file stands
extern const int kErrInUse;           // refused by another program's hold on the file

// Another program that has `path` open for writing and lets nobody else in,
// for as long as this object lives (POSIX: an exclusive lock; Windows: a
// handle without sharing). Fails the test when the file cannot be held.
class FileHeldOpenForWriting {
  public:
    explicit FileHeldOpenForWriting(const std::string& path);

  private:
    FileHandle file_;
};

}  // namespace imgcrypt::test
