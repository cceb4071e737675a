// imgcrypt-gui.exe itself, copied with its pages into a folder of its own as
// a user unpacks the zip (a Chinese name, a blank): config.db beside it,
// written in Chinese on the first start and read back on the next; closing
// the window ends the program.
#include <windows.h>

#include <algorithm>

#include "batch/language_tables.h"
#include "runtime/app_folders.h"
#include "runtime/paths.h"
#include "runtime/utf16.h"
#include "tests/winui/window_fixture.h"
#include "winui/main_window.h"

namespace imgcrypt::winui::test {
namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && ClassOf(window) == kWindowClassName &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Starts the program, waits for its window, takes the window's caption, and
// closes it as the user does; the program must then end normally.
std::string StartAndClose(const std::wstring& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    EXPECT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    Search search{process.dwProcessId, nullptr};
    // Generous: a machine under load starts Wine programs slowly.
    for (int waited = 0; search.found == nullptr && waited < 60000; waited += 50) {
        Sleep(50);
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    }
    std::string caption = search.found != nullptr ? TextOf(search.found) : "(no window)";
    if (search.found != nullptr) PostMessageW(search.found, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0) << "still running";
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return caption;
}

TEST(AppEntry, KeepsItsSettingsBesideItselfInAFolderOfAnyName) {
    TempFolder root;
    const std::string folder = FolderPath(root) + "照片 工具\\";
    ASSERT_TRUE(CreateDirectoryW(Utf16FromUtf8(folder).c_str(), nullptr));
    std::string built = ProgramFolder() + IMGCRYPT_GUI_FROM_TESTS;
    std::replace(built.begin(), built.end(), '/', '\\');
    const std::wstring program = Utf16FromUtf8(folder + "imgcrypt-gui.exe");
    ASSERT_TRUE(CopyFileW(Utf16FromUtf8(built).c_str(), program.c_str(), TRUE)) << built;
    // The help pages beside the program make its folder a portable one.
    const std::string builtFolder = PathFolder(built);
    for (const char* page : {"help.htm", "ehelp.htm", "banner.htm", "ebanner.htm"}) {
        ASSERT_TRUE(CopyFileW(Utf16FromUtf8(builtFolder + page).c_str(),
                              Utf16FromUtf8(folder + page).c_str(), TRUE))
            << builtFolder + page;
    }

    // The first start is in Chinese and says so in config.db.
    EXPECT_EQ(StartAndClose(program), ChineseTable().windowCaption);
    EXPECT_EQ(ReadBytes(folder + "config.db"), "ch\r\n");
    // The remembered language is read back from there.
    WriteBytes(folder + "config.db", "en\r\n");
    EXPECT_EQ(StartAndClose(program), EnglishTable().windowCaption);
    EXPECT_EQ(ReadBytes(folder + "config.db"), "en\r\n");
}

}  // namespace
}  // namespace imgcrypt::winui::test
