// Error codes and texts as POSIX systems give them.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "runtime/errors.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

TEST(InOutCodeFromSystemErrorTest, MissingFileTellsMissingFolderApart) {
    test::TempFolder folder;
    EXPECT_EQ(InOutCodeFromSystemError(ENOENT, folder / "none.jpg"), kCodeFileNotFound);
    EXPECT_EQ(InOutCodeFromSystemError(ENOENT, folder / "no-folder/none.jpg"),
              kCodeInvalidFilename);
    EXPECT_EQ(InOutCodeFromSystemError(ENOENT, "relative-none-h1.jpg"), kCodeFileNotFound);
    EXPECT_EQ(InOutCodeFromSystemError(ENOENT, ""), kCodeInvalidFilename);
}

TEST(InOutCodeFromSystemErrorTest, SystemErrorsMapToTheFamiliarCodes) {
    // Tests run as root, so these cannot be provoked through real files.
    EXPECT_EQ(InOutCodeFromSystemError(ENOTDIR, "/x"), 3);
    EXPECT_EQ(InOutCodeFromSystemError(ENAMETOOLONG, "/x"), 3);
    EXPECT_EQ(InOutCodeFromSystemError(EMFILE, "/x"), 4);
    EXPECT_EQ(InOutCodeFromSystemError(ENFILE, "/x"), 4);
    EXPECT_EQ(InOutCodeFromSystemError(EACCES, "/x"), 5);
    EXPECT_EQ(InOutCodeFromSystemError(EPERM, "/x"), 5);
    EXPECT_EQ(InOutCodeFromSystemError(EROFS, "/x"), 5);
    EXPECT_EQ(InOutCodeFromSystemError(EISDIR, "/x"), 5);
    EXPECT_EQ(InOutCodeFromSystemError(ENOSPC, "/x"), kCodeDiskFull);
    EXPECT_EQ(InOutCodeFromSystemError(EDQUOT, "/x"), kCodeDiskFull);
    EXPECT_EQ(InOutCodeFromSystemError(EWOULDBLOCK, "/x"), kCodeSharingViolation);
    EXPECT_EQ(InOutMessage(InOutCodeFromSystemError(EIO, "/x")), "I/O error 1117");
    EXPECT_EQ(InOutCodeFromSystemError(EBADF, "/x"), EBADF);
    EXPECT_EQ(InOutMessage(InOutCodeFromSystemError(EBADF, "/x")),
              "I/O error " + std::to_string(EBADF));
}

TEST(FileErrorTextTest, NamesTheAbsolutePathAndTheSystemText) {
    EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
    EXPECT_STREQ(EFOpenError("/data/a.jpg", ENOENT).what(),
                 "Cannot open file \"/data/a.jpg\". No such file or directory");
    EXPECT_STREQ(EFCreateError("/data/out/a.jpg", ENOSPC).what(),
                 "Cannot create file \"/data/out/a.jpg\". No space left on device");
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(std::string(EFOpenError("sub/a.jpg", EACCES).what()),
              "Cannot open file \"" + cwd + "/sub/a.jpg\". Permission denied");
}

TEST(AbsolutePathTest, RelativePathsJoinTheCurrentFolder) {
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(AbsolutePath("/srv/a.jpg"), "/srv/a.jpg");
    EXPECT_EQ(AbsolutePath("a.jpg"), cwd + "/a.jpg");
    EXPECT_EQ(AbsolutePath("/srv/x/../a.jpg"), "/srv/a.jpg");
    EXPECT_EQ(AbsolutePath("/srv/./a b.jpg"), "/srv/a b.jpg");
    // A backslash is a name character here.
    EXPECT_EQ(AbsolutePath("/srv/C:\\a.jpg"), "/srv/C:\\a.jpg");
}

}  // namespace
}  // namespace imgcrypt
