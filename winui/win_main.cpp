// The Windows application's entry: settle where files live, create the main
// window (which applies the remembered language and loads the banner), run.
#include <windows.h>

#include <exception>

#include "runtime/app_folders.h"
#include "runtime/utf16.h"
#include "winui/main_window.h"
#include "winui/message_loop.h"
#include "winui/ui_thread_setup.h"

namespace {

// A portable folder: the help pages lie beside the program, and so does
// config.db unless that folder is not writable.
imgcrypt::AppLocations ApplicationLocations() {
    imgcrypt::AppLocations locations;
    locations.exeFolder = imgcrypt::ProgramFolder();
    locations.helpFolder = locations.exeFolder;
    locations.configPath = imgcrypt::SettingsFilePath();
    locations.siteHost = IMGCRYPT_SITE_HOST;
    return locations;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const imgcrypt::winui::UiThreadSetup setup;
    int exitCode = 1;
    try {
        imgcrypt::winui::TfrmMain window(ApplicationLocations());
        window.SetDestroyHandler([] { PostQuitMessage(0); });
        window.Show(showCommand);
        exitCode = imgcrypt::winui::RunMessageLoop(window.window());
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, imgcrypt::Utf16FromUtf8(e.what()).c_str(), L"imgcrypt",
                    MB_OK | MB_ICONERROR);
    }
    return exitCode;
}
