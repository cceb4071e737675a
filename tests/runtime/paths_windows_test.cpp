// Paths on Windows: "\" and "/" between folders, ":" after a drive letter.
#include <gtest/gtest.h>

#include "runtime/paths.h"

namespace imgcrypt {
namespace {

TEST(WindowsPaths, BackslashSlashAndDriveColonDelimit) {
    EXPECT_EQ(kPathSeparator, '\\');
    EXPECT_TRUE(IsPathDelimiter('\\'));
    EXPECT_TRUE(IsPathDelimiter('/'));
    EXPECT_TRUE(IsPathDelimiter(':'));
}

TEST(WindowsPaths, FolderAndNameOfDrivePaths) {
    EXPECT_EQ(PathFolder("C:\\photos\\a.jpg"), "C:\\photos\\");
    EXPECT_EQ(PathName("C:\\photos\\a.jpg"), "a.jpg");
    EXPECT_EQ(PathFolderTrimmed("C:\\photos\\a.jpg"), "C:\\photos");
    EXPECT_EQ(PathFolderTrimmed("C:\\photos\\2024\\a.jpg"), "C:\\photos\\2024");
    EXPECT_EQ(PathFolder("C:/photos/a.jpg"), "C:/photos/");
    EXPECT_EQ(PathFolderTrimmed("C:\\photos/a.jpg"), "C:\\photos");
    EXPECT_EQ(PathFolder("C:\\相册\\照片.jpg"), "C:\\相册\\");
    EXPECT_EQ(PathName("C:\\相册\\照片.jpg"), "照片.jpg");
}

TEST(WindowsPaths, TheRootOfADriveKeepsItsBackslash) {
    EXPECT_EQ(PathFolder("E:\\a.jpg"), "E:\\");
    EXPECT_EQ(PathFolderTrimmed("E:\\a.jpg"), "E:\\");
    EXPECT_EQ(PathName("E:\\a.jpg"), "a.jpg");
    EXPECT_EQ(PathFolderTrimmed("\\a.jpg"), "\\");
    EXPECT_EQ(PathFolderTrimmed("\\\\server\\a.jpg"), "\\\\server");
}

TEST(WindowsPaths, ADriveWithoutFolderEndsAtItsColon) {
    EXPECT_EQ(PathFolder("C:a.jpg"), "C:");
    EXPECT_EQ(PathName("C:a.jpg"), "a.jpg");
    // Only a final backslash is left out, never the colon.
    EXPECT_EQ(PathFolderTrimmed("C:a.jpg"), "C:");
    EXPECT_EQ(PathName("C:"), "");
}

}  // namespace
}  // namespace imgcrypt
