// imgcrypt-gui.exe itself, copied with its pages into a folder of its own as
// a user unpacks the zip (a Chinese name, a blank): config.db beside it,
// written in Chinese on the first start and read back on the next; closing
// the window ends the program; files named on its command line are the
// selection.
#include <windows.h>

#include <algorithm>

#include "batch/language_tables.h"
#include "runtime/app_folders.h"
#include "runtime/paths.h"
#include "runtime/utf16.h"
#include "tests/winui/started_window.h"
#include "tests/winui/window_fixture.h"

namespace imgcrypt::winui::test {
namespace {

// A copy of the built program with its pages in `folder`, as the zip
// unpacks; its path.
std::string PortableCopyIn(const std::string& folder) {
    std::string built = ProgramFolder() + IMGCRYPT_GUI_FROM_TESTS;
    std::replace(built.begin(), built.end(), '/', '\\');
    const std::string program = folder + "imgcrypt-gui.exe";
    EXPECT_TRUE(CreateDirectoryW(Utf16FromUtf8(folder).c_str(), nullptr));
    EXPECT_TRUE(CopyFileW(Utf16FromUtf8(built).c_str(), Utf16FromUtf8(program).c_str(), TRUE))
        << built;
    // The help pages beside the program make its folder a portable one.
    const std::string builtFolder = PathFolder(built);
    for (const char* page : {"help.htm", "ehelp.htm", "banner.htm", "ebanner.htm"}) {
        EXPECT_TRUE(CopyFileW(Utf16FromUtf8(builtFolder + page).c_str(),
                              Utf16FromUtf8(folder + page).c_str(), TRUE))
            << builtFolder + page;
    }
    return program;
}

// Starts the program, takes the window's caption, and closes it as the user
// does; the program must then end normally.
std::string StartAndClose(const std::string& program) {
    StartedWindow window(program, {});
    const std::string caption = window.Caption();
    EXPECT_EQ(window.Close(), 0u);
    return caption;
}

TEST(AppEntry, KeepsItsSettingsBesideItselfInAFolderOfAnyName) {
    TempFolder root;
    const std::string folder = FolderPath(root) + "照片 工具\\";
    const std::string program = PortableCopyIn(folder);

    // The first start is in Chinese and says so in config.db.
    EXPECT_EQ(StartAndClose(program), ChineseTable().windowCaption);
    EXPECT_EQ(ReadBytes(folder + "config.db"), "ch\r\n");
    // The remembered language is read back from there.
    WriteBytes(folder + "config.db", "en\r\n");
    EXPECT_EQ(StartAndClose(program), EnglishTable().windowCaption);
    EXPECT_EQ(ReadBytes(folder + "config.db"), "en\r\n");
}

// As "Send to" starts it: the files are the selection, as dropped files are,
// and nothing runs before Encrypt is pressed.
TEST(AppEntry, FilesNamedOnTheCommandLineAreTheSelection) {
    TempFolder root;
    const std::string folder = FolderPath(root) + "tool\\";
    const std::string program = PortableCopyIn(folder);
    WriteBytes(folder + "config.db", "en\r\n");
    const std::string photos = FolderPath(root) + "相册 1\\";
    ASSERT_TRUE(CreateDirectoryW(Utf16FromUtf8(photos).c_str(), nullptr));
    WriteBytes(photos + "照片 1.jpg", SampleBytes(3000, 1));
    WriteBytes(photos + "b.png", SampleBytes(5000, 2));

    StartedWindow window(program, {photos + "照片 1.jpg", photos + "b.png"});
    EXPECT_EQ(window.Text(form::Id::edtdir), photos);
    const std::string encrypted = photos + std::string(EnglishTable().messages.dirEncrypted);
    EXPECT_FALSE(std::filesystem::exists(FsPath(encrypted)));
    EXPECT_EQ(window.Encrypt("secret1"),
              "2" + std::string(EnglishTable().messages.msgEncryptDone) + "\r" + encrypted);
    EXPECT_EQ(window.Close(), 0u);
    EXPECT_FALSE(ReadBytes(encrypted + "\\照片 1.jpg").empty());
    EXPECT_FALSE(ReadBytes(encrypted + "\\b.png").empty());
}

}  // namespace
}  // namespace imgcrypt::winui::test
