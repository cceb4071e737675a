#include "runtime/paths.h"

#include <gtest/gtest.h>

namespace imgcrypt {
namespace {

TEST(PathsTest, SplitsAtTheLastDelimiter) {
    EXPECT_EQ(PathFolder("/home/u/photos/a.jpg"), "/home/u/photos/");
    EXPECT_EQ(PathName("/home/u/photos/a.jpg"), "a.jpg");
    EXPECT_EQ(PathFolderTrimmed("/home/u/photos/a.jpg"), "/home/u/photos");
    EXPECT_EQ(PathFolder("photos/x.y/a"), "photos/x.y/");
    EXPECT_EQ(PathName("photos/x.y/a"), "a");
}

TEST(PathsTest, PathWithoutDelimiter) {
    EXPECT_EQ(PathFolder("a.jpg"), "");
    EXPECT_EQ(PathName("a.jpg"), "a.jpg");
    EXPECT_EQ(PathFolderTrimmed("a.jpg"), "");
    EXPECT_EQ(PathFolder(""), "");
    EXPECT_EQ(PathName(""), "");
}

TEST(PathsTest, RootAndDoubledDelimitersKeepTheirDelimiter) {
    EXPECT_EQ(PathFolder("/a.jpg"), "/");
    EXPECT_EQ(PathName("/a.jpg"), "a.jpg");
    EXPECT_EQ(PathFolderTrimmed("/a.jpg"), "/");
    EXPECT_EQ(PathFolderTrimmed("/srv//a.jpg"), "/srv//");
    EXPECT_EQ(PathFolderTrimmed("x/a.jpg"), "x");
}

TEST(PathsTest, PathEndingInDelimiterHasAnEmptyName) {
    EXPECT_EQ(PathFolder("/home/u/"), "/home/u/");
    EXPECT_EQ(PathName("/home/u/"), "");
    EXPECT_EQ(PathFolderTrimmed("/home/u/"), "/home/u");
}

TEST(PathsTest, Delimiters) {
    EXPECT_TRUE(IsPathDelimiter('/'));
    EXPECT_FALSE(IsPathDelimiter('.'));
#ifdef _WIN32
    EXPECT_TRUE(IsPathDelimiter('\\'));
    EXPECT_TRUE(IsPathDelimiter(':'));
    EXPECT_EQ(PathFolder("C:\\photos\\a.jpg"), "C:\\photos\\");
    EXPECT_EQ(PathFolderTrimmed("C:\\photos\\a.jpg"), "C:\\photos");
    EXPECT_EQ(PathFolderTrimmed("C:\\a.jpg"), "C:\\");
    EXPECT_EQ(PathName("C:a.jpg"), "a.jpg");
#else
    // Backslash and colon are ordinary name characters here.
    EXPECT_FALSE(IsPathDelimiter('\\'));
    EXPECT_FALSE(IsPathDelimiter(':'));
    EXPECT_EQ(PathName("/x/C:\\a.jpg"), "C:\\a.jpg");
    EXPECT_EQ(kPathSeparator, '/');
#endif
}

}  // namespace
}  // namespace imgcrypt
