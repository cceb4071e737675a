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
    EXPECT_TRUE(IsPathDelimiter(kPathSeparator));
    EXPECT_FALSE(IsPathDelimiter('.'));
    EXPECT_FALSE(IsPathDelimiter('a'));
    // UTF-8 names: no byte of a character beyond ASCII is a delimiter.
    EXPECT_EQ(PathName("photos/\xe7\x85\xa7\xe7\x89\x87.jpg"), "\xe7\x85\xa7\xe7\x89\x87.jpg");
}

}  // namespace
}  // namespace imgcrypt
