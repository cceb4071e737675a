// The file layer as each platform has it: sharing between readers and
// writers, replacing writes, names outside ASCII, and the error codes and
// texts users see. Written against the public routines only, so the same
// cases run on Linux and, under Wine, on Windows.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/app_folders.h"
#include "runtime/errors.h"
#include "runtime/line_text_file.h"
#include "runtime/paths.h"
#include "runtime/whole_file.h"
#include "tests/support/platform_files.h"
#include "tests/support/raised.h"
#include "tests/support/temp_folder.h"
#include "tests/support/whole_file_reader.h"

namespace imgcrypt {
namespace {

using test::InOutCodeOf;
using test::ReadWholeFile;

class FileSystemTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder_ / name; }
    std::vector<std::string> Entries(const std::string& sub = {}) const {
        return test::Entries(sub.empty() ? folder_.path() : sub);
    }

    test::TempFolder folder_;
};

TEST_F(FileSystemTest, ReadersShareAFileThatNobodyWrites) {
    const std::string path = Path("a.txt");
    WriteWholeFileReplacing(path, "abc");
    LineTextFile first = OpenTextForReading(path);
    LineTextFile second = OpenTextForReading(path);
    EXPECT_EQ(ReadWholeFile(path), "abc");
    EXPECT_EQ(TakeLine(second), "abc");
    CloseText(first);
    CloseText(second);

    {
        const test::FileHeldOpenForWriting writer(path);
        EXPECT_EQ(InOutCodeOf([&] { OpenTextForReading(path); }), kCodeSharingViolation);
        EXPECT_THROW(ReadWholeFile(path), EFOpenError);
        EXPECT_THROW(FileReader(path, FileErrors::LineText), EInOutError);
        EXPECT_FALSE(FileSizeOf(path).has_value());
    }
    EXPECT_EQ(ReadWholeFile(path), "abc");
}

TEST_F(FileSystemTest, ReplacingWritesReplaceExistingFilesAndLeaveNothingBehind) {
    const std::string path = Path("a.jpg");
    WriteWholeFileReplacing(path, "first");
    WriteWholeFileReplacing(path, "second");
    EXPECT_EQ(ReadWholeFile(path), "second");

    LineTextFile text = CreateTextForReplacing(path);
    PutText(text, "third");
    PutLineBreak(text);
    CloseText(text);
    EXPECT_EQ(ReadWholeFile(path), "third\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"a.jpg"});
}

TEST_F(FileSystemTest, AReplacingWriteOverAFileInUseKeepsOneWholeFile) {
    // POSIX replaces the name under the reader; Windows refuses while the
    // reader holds the file. Either way: one whole file, no temporary left.
    const std::string path = Path("a.jpg");
    WriteWholeFileReplacing(path, "old");
    LineTextFile reader = OpenTextForReading(path);
    std::string expected = "new";
    try {
        WriteWholeFileReplacing(path, "new");
    } catch (const EFCreateError& e) {
        EXPECT_NE(std::string(e.what()).find(AbsolutePath(path)), std::string::npos) << e.what();
        expected = "old";
    }
    CloseText(reader);
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(Entries(), std::vector<std::string>{"a.jpg"});
}

TEST_F(FileSystemTest, NamesOutsideAsciiArriveOnDiskAsTyped) {
    const std::string album = Path("相册");
    CreateFolder(album);
    EXPECT_TRUE(FolderExists(album));
    EXPECT_FALSE(FileExists(album));
    const std::string photo = album + kPathSeparator + "照片.jpg";
    WriteWholeFileReplacing(photo, std::string("\0\xff\r\n\x1a", 5));
    EXPECT_TRUE(FileExists(photo));
    EXPECT_FALSE(FolderExists(photo));
    EXPECT_EQ(FileSizeOf(photo), std::optional<std::uint64_t>(5));
    EXPECT_EQ(ReadWholeFile(photo), std::string("\0\xff\r\n\x1a", 5));
    EXPECT_EQ(Entries(), std::vector<std::string>{"相册"});
    EXPECT_EQ(Entries(album), std::vector<std::string>{"照片.jpg"});

    LineTextFile text = CreateTextForReplacing(album + kPathSeparator + "说明.txt");
    PutText(text, "ok");
    CloseText(text);
    LineTextFile read = OpenTextForReading(album + kPathSeparator + "说明.txt");
    EXPECT_EQ(TakeLine(read), "ok");
}

TEST_F(FileSystemTest, FailuresCarryTheFamiliarCodes) {
    EXPECT_EQ(InOutCodeOf([&] { OpenTextForReading(Path("none.txt")); }), kCodeFileNotFound);
    EXPECT_EQ(InOutCodeOf([&] { OpenTextForReading(Path("no-folder/none.txt")); }),
              kCodeInvalidFilename);
    EXPECT_EQ(InOutCodeOf([&] { CreateTextForReplacing(Path("no-folder/a.txt")); }),
              kCodeInvalidFilename);
    EXPECT_EQ(InOutCodeOf([&] { OpenTextForReading(folder_.path()); }), kCodeAccessDenied);
    EXPECT_FALSE(FileExists(Path("none.txt")));
    EXPECT_FALSE(FolderExists(Path("none")));
    EXPECT_EQ(Entries(), std::vector<std::string>{});
}

TEST_F(FileSystemTest, FileErrorsShowTheAbsolutePathAndATrimmedSystemText) {
    const std::string missing = Path("无.jpg");
    try {
        ReadWholeFile(missing);
        FAIL() << "a missing file was read";
    } catch (const EFOpenError& e) {
        const std::string text = SystemErrorText(e.systemError());
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(std::string_view(".\r\n \t").find(text.back()), std::string_view::npos) << text;
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\". " + text);
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(test::FsPath(folder_.path()));
    const std::string absolute = AbsolutePath("照片.jpg");
    std::filesystem::current_path(previous);
    EXPECT_EQ(absolute, Path("照片.jpg"));
}

TEST(AppFoldersTest, TheRunningProgramsFolders) {
    const std::string program = ProgramFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), kPathSeparator);
    EXPECT_TRUE(FolderExists(program));
    const std::string user = UserConfigFolder();
    ASSERT_FALSE(user.empty());
    EXPECT_EQ(PathName(PathFolderTrimmed(user)), "imgcrypt");
    EXPECT_EQ(user.back(), kPathSeparator);
}

class SettingsFileTest : public FileSystemTest {
  protected:
    // A program folder; `portable` puts the help pages beside the program.
    std::string ProgramIn(const std::string& name, bool portable) {
        const std::string folder = Path(name);
        CreateFolder(folder);
        if (portable) WriteWholeFileReplacing(folder + kPathSeparator + "help.htm", "<html>");
        return folder + kPathSeparator;
    }
    // Three levels that a fresh account does not have yet.
    std::string user_ =
        Path("用户") + kPathSeparator + "config" + kPathSeparator + "imgcrypt" + kPathSeparator;
};

TEST_F(SettingsFileTest, APortableProgramKeepsItsSettingsBesideItself) {
    const std::string program = ProgramIn("程序", true);
    EXPECT_TRUE(IsPortableProgramFolder(program));
    EXPECT_EQ(SettingsFilePath(program, user_), program + "config.db");
    EXPECT_FALSE(FolderExists(user_));
    // The probe of the folder leaves nothing behind.
    EXPECT_EQ(Entries(program), std::vector<std::string>{"help.htm"});
}

TEST_F(SettingsFileTest, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
    const std::string program = ProgramIn("bin", false);
    EXPECT_FALSE(IsPortableProgramFolder(program));
    EXPECT_EQ(SettingsFilePath(program, user_), user_ + "config.db");
    EXPECT_TRUE(FolderExists(user_));
    EXPECT_TRUE(Entries(program).empty());
    // Made once, found the next time.
    EXPECT_EQ(SettingsFilePath(program, user_), user_ + "config.db");
}

}  // namespace
}  // namespace imgcrypt
