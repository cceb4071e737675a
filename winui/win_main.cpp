// The Windows application's entry: settle where files live, create the main
// window (which applies the remembered language and loads the banner), run.
#include <windows.h>

#include <exception>

#include "batch/app_locations.h"
#include "runtime/utf16.h"
#include "winui/main_window.h"
#include "winui/message_loop.h"
#include "winui/ui_thread_setup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const imgcrypt::winui::UiThreadSetup setup;
    int exitCode = 1;
    try {
        imgcrypt::winui::TfrmMain window(imgcrypt::SettleAppLocations());
        window.SetDestroyHandler([] { PostQuitMessage(0); });
        window.Show(showCommand);
        exitCode = imgcrypt::winui::RunMessageLoop(window.window());
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, imgcrypt::Utf16FromUtf8(e.what()).c_str(), L"imgcrypt",
                    MB_OK | MB_ICONERROR);
    }
    return exitCode;
}
