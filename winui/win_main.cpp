// The Windows application's entry: settle where files live, create the main
// window (which applies the remembered language and loads the banner), select
// the files named on the command line (imgcrypt-gui.exe FILE..., as "Send
// to" starts it), run.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "batch/app_locations.h"
#include "runtime/utf16.h"
#include "winui/main_window.h"
#include "winui/message_loop.h"
#include "winui/ui_thread_setup.h"

namespace {

struct LocalMemoryFree {
    void operator()(wchar_t** memory) const noexcept { LocalFree(memory); }
};

// The arguments after the program's name, split by the system's rules
// (quotes, blanks) and turned from UTF-16 into the program's UTF-8.
std::vector<std::string> FileArguments() {
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalMemoryFree> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> files;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        files.push_back(imgcrypt::Utf8FromUtf16(arguments.get()[i]));
    }
    return files;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const imgcrypt::winui::UiThreadSetup setup;
    int exitCode = 1;
    try {
        imgcrypt::winui::TfrmMain window(imgcrypt::SettleAppLocations());
        window.SetDestroyHandler([] { PostQuitMessage(0); });
        window.CommandLineFiles(FileArguments());
        window.Show(showCommand);
        exitCode = imgcrypt::winui::RunMessageLoop(window.window());
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, imgcrypt::Utf16FromUtf8(e.what()).c_str(), L"imgcrypt",
                    MB_OK | MB_ICONERROR);
    }
    return exitCode;
}
