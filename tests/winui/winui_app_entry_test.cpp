// imgcrypt-gui.exe itself, copied into a folder of its own as a user unpacks
// it: the first start writes config.db beside it, shows the window in
// Chinese, and closing the window ends the program.
#include <windows.h>

#include <algorithm>

#include "batch/language_tables.h"
#include "runtime/app_folders.h"
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
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (processId == search->processId && std::wstring_view(className) == kWindowClassName &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(AppEntry, FirstStartWritesChineseSettingsBesideTheProgramAndClosingEndsIt) {
    ScratchFolder folder;
    std::string built = ProgramFolder() + IMGCRYPT_GUI_FROM_TESTS;
    std::replace(built.begin(), built.end(), '/', '\\');
    const std::wstring program = Utf16FromUtf8(folder.path() + "imgcrypt-gui.exe");
    ASSERT_TRUE(CopyFileW(Utf16FromUtf8(built).c_str(), program.c_str(), TRUE)) << built;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    Search search{process.dwProcessId, nullptr};
    for (int waited = 0; search.found == nullptr && waited < 20000; waited += 50) {
        Sleep(50);
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.found, nullptr);
    EXPECT_EQ(TextOf(search.found), ChineseTable().windowCaption);
    EXPECT_EQ(ReadBytes(folder.path() + "config.db"), "ch\r\n");

    PostMessageW(search.found, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace imgcrypt::winui::test
