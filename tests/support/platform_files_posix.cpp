#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include <cerrno>

#include "tests/support/platform_files.h"

namespace imgcrypt::test {

const int kErrFileNotFound = ENOENT;
const int kErrFolderNotFound = ENOENT;
const int kErrIsFolder = EISDIR;
const int kErrAlreadyExists = EEXIST;
const int kErrInUse = EWOULDBLOCK;

FileHeldOpenForWriting::FileHeldOpenForWriting(const std::string& path)
    : file_(::open(path.c_str(), O_RDWR | O_CLOEXEC)) {
    EXPECT_TRUE(file_.valid()) << path;
    if (file_.valid()) {
        EXPECT_EQ(::flock(static_cast<int>(file_.native()), LOCK_EX), 0) << path;
    }
}

}  // namespace imgcrypt::test
