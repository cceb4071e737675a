// Paths on POSIX systems: "/" is the only delimiter.
#include <gtest/gtest.h>

#include "runtime/paths.h"

namespace imgcrypt {
namespace {

TEST(PosixPaths, BackslashAndColonAreNameCharacters) {
    EXPECT_EQ(kPathSeparator, '/');
    EXPECT_FALSE(IsPathDelimiter('\\'));
    EXPECT_FALSE(IsPathDelimiter(':'));
    EXPECT_EQ(PathName("/x/C:\\a.jpg"), "C:\\a.jpg");
    EXPECT_EQ(PathFolderTrimmed("/x/C:\\a.jpg"), "/x");
    EXPECT_EQ(PathFolder("C:a.jpg"), "");
}

}  // namespace
}  // namespace imgcrypt
