// Where settings and pages live: beside a program run from its own folder,
// in the user's and the pages folder for an installed one.
#include "batch/app_locations.h"

#include <gtest/gtest.h>

#include "runtime/paths.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

class AppLocationsTest : public ::testing::Test {
  protected:
    std::string Folder(std::string_view relative) {
        const std::string folder = temp_ / relative;
        test::MakeFolders(folder);
        return folder + kPathSeparator;
    }

    test::TempFolder temp_;
    std::string user_ = temp_ / "home/.config/imgcrypt/";
};

TEST_F(AppLocationsTest, AProgramInItsOwnFolderKeepsEverythingBesideItself) {
    const std::string program = Folder("照片 工具");
    test::WriteBytes(program + "help.htm", "<html></html>");
    const AppLocations at = SettleAppLocations(program, Folder("share"), user_, "host.example");
    EXPECT_EQ(at.exeFolder, program);
    EXPECT_EQ(at.helpFolder, program);
    EXPECT_EQ(at.configPath, program + "config.db");
    EXPECT_EQ(at.siteHost, "host.example");
    EXPECT_FALSE(test::Exists(user_));
}

// The layout of the package: the programs' folder may be writable (root),
// and still nothing is kept there.
TEST_F(AppLocationsTest, AnInstalledProgramFindsItsPagesAndKeepsItsSettingsElsewhere) {
    const std::string bin = Folder("usr/bin");
    const std::string pages = Folder("usr/share/imgcrypt");
    test::WriteBytes(pages + "help.htm", "<html></html>");
    EXPECT_EQ(FolderFromProgram(bin, "../share/imgcrypt"), pages);
    EXPECT_EQ(FolderFromProgram(bin, ""), bin);

    const AppLocations at = SettleAppLocations(bin, pages, user_, "h");
    EXPECT_EQ(at.helpFolder, pages);
    EXPECT_EQ(at.configPath, user_ + "config.db");
    EXPECT_EQ(at.exeFolder, bin);
    EXPECT_TRUE(test::IsFolder(user_));
}

// The Windows setup program puts the pages and its uninstaller beside the
// programs, in a folder the user may write to (their own programs folder):
// the settings go to the user's folder all the same, where the uninstaller
// leaves them alone.
TEST_F(AppLocationsTest, AProgramTheSetupInstalledKeepsItsSettingsInTheUsersFolder) {
    const std::string program = Folder("Programs/imgcrypt");
    test::WriteBytes(program + "help.htm", "<html></html>");
    test::WriteBytes(program + "uninstall.exe", "MZ");
    const AppLocations at = SettleAppLocations(program, FolderFromProgram(program, ""), user_, "h");
    EXPECT_EQ(at.helpFolder, program);
    EXPECT_EQ(at.configPath, user_ + "config.db");
    EXPECT_TRUE(test::IsFolder(user_));
}

}  // namespace
}  // namespace imgcrypt
