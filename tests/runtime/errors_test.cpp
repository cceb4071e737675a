#include "runtime/errors.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

TEST(InOutMessageTest, MessagesByCode) {
    EXPECT_EQ(InOutMessage(2), "File not found");
    EXPECT_EQ(InOutMessage(3), "Invalid filename");
    EXPECT_EQ(InOutMessage(4), "Too many open files");
    EXPECT_EQ(InOutMessage(5), "File access denied");
    EXPECT_EQ(InOutMessage(100), "Read beyond end of file");
    EXPECT_EQ(InOutMessage(101), "Disk full");
    EXPECT_EQ(InOutMessage(106), "Invalid numeric input");
    EXPECT_EQ(InOutMessage(32), "I/O error 32");
    EXPECT_EQ(InOutMessage(112), "I/O error 112");
    EXPECT_EQ(InOutMessage(0), "I/O error 0");
}

TEST(InOutErrorTest, CarriesCodeAndMessage) {
    const EInOutError error(32);
    EXPECT_EQ(error.code(), 32);
    EXPECT_STREQ(error.what(), "I/O error 32");
}

TEST(InOutCodeFromErrnoTest, MissingFileTellsMissingFolderApart) {
    test::TempFolder folder;
    EXPECT_EQ(InOutCodeFromErrno(ENOENT, folder / "none.jpg"), kCodeFileNotFound);
    EXPECT_EQ(InOutCodeFromErrno(ENOENT, folder / "no-folder/none.jpg"), kCodeInvalidFilename);
    EXPECT_EQ(InOutCodeFromErrno(ENOENT, "relative-none-h1.jpg"), kCodeFileNotFound);
    EXPECT_EQ(InOutCodeFromErrno(ENOENT, ""), kCodeInvalidFilename);
}

TEST(InOutCodeFromErrnoTest, SystemErrorsMapToTheFamiliarCodes) {
    // Tests run as root, so these cannot be provoked through real files.
    EXPECT_EQ(InOutCodeFromErrno(ENOTDIR, "/x"), 3);
    EXPECT_EQ(InOutCodeFromErrno(ENAMETOOLONG, "/x"), 3);
    EXPECT_EQ(InOutCodeFromErrno(EMFILE, "/x"), 4);
    EXPECT_EQ(InOutCodeFromErrno(ENFILE, "/x"), 4);
    EXPECT_EQ(InOutCodeFromErrno(EACCES, "/x"), 5);
    EXPECT_EQ(InOutCodeFromErrno(EPERM, "/x"), 5);
    EXPECT_EQ(InOutCodeFromErrno(EROFS, "/x"), 5);
    EXPECT_EQ(InOutCodeFromErrno(EISDIR, "/x"), 5);
    EXPECT_EQ(InOutCodeFromErrno(ENOSPC, "/x"), kCodeDiskFull);
    EXPECT_EQ(InOutCodeFromErrno(EDQUOT, "/x"), kCodeDiskFull);
    EXPECT_EQ(InOutCodeFromErrno(EWOULDBLOCK, "/x"), kCodeSharingViolation);
    EXPECT_EQ(InOutMessage(InOutCodeFromErrno(EIO, "/x")), "I/O error 1117");
    EXPECT_EQ(InOutCodeFromErrno(EBADF, "/x"), EBADF);
    EXPECT_EQ(InOutMessage(InOutCodeFromErrno(EBADF, "/x")), "I/O error " + std::to_string(EBADF));
}

TEST(SystemErrorTextTest, HasNoTrailingFullStopOrBlanks) {
    EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
    for (int err = 1; err < 140; ++err) {
        const std::string text = SystemErrorText(err);
        ASSERT_FALSE(text.empty()) << err;
        const char last = text.back();
        EXPECT_TRUE(last != '.' && last != ' ' && last != '\n' && last != '\r') << err;
    }
}

TEST(FileErrorTextTest, NamesTheAbsolutePathAndTheSystemText) {
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
}

TEST(DefaultHandlerTextTest, AddsFullStopUnlessEndingInOneOrALowerCode) {
    EXPECT_EQ(DefaultHandlerText("File not found"), "File not found.");
    EXPECT_EQ(DefaultHandlerText("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(DefaultHandlerText("Done."), "Done.");
    EXPECT_EQ(DefaultHandlerText("Really!"), "Really!");  // '!' is below '.'
    EXPECT_EQ(DefaultHandlerText("(a)"), "(a)");
    EXPECT_EQ(DefaultHandlerText("a/"), "a/.");  // '/' is just above '.'
    EXPECT_EQ(DefaultHandlerText(""), ".");
    // UTF-8 text ends in a byte above 127: it gets the full stop.
    EXPECT_EQ(DefaultHandlerText("\xe5\xae\x8c\xe6\x88\x90"), "\xe5\xae\x8c\xe6\x88\x90.");
}

}  // namespace
}  // namespace imgcrypt
