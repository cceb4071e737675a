// The application's main window on Windows: the form's controls and menu as
// native Win32 windows, wired to the window logic, which reaches back through
// WindowPort. One window procedure, no framework.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/dialogs.h"
#include "batch/form_layout.h"
#include "batch/main_window_logic.h"
#include "batch/window_port.h"
#include "winui/dialogs.h"
#include "winui/form_fonts.h"
#include "winui/shell_opener.h"
#include "winui/web_banner.h"

namespace imgcrypt::winui {

// The registered window class, named after the form.
inline constexpr const wchar_t* kWindowClassName = L"TfrmMain";

// Raised when the system refuses to create the main window:
// Cannot create the main window. <system text>
class EWindowCreateError : public std::runtime_error {
  public:
    // `err` is the system's error code.
    explicit EWindowCreateError(DWORD err);
};

class TfrmMain : public WindowPort {
  public:
    // Creates the hidden window with its controls and menu, runs FormCreate
    // (settings, language, banner), then centres the window on its monitor's
    // work area. Errors of start-up are shown in the error box; only a window
    // the system refuses to create throws (EWindowCreateError). Without
    // `dialogs`, the boxes are the system's (Win32Dialogs).
    explicit TfrmMain(AppLocations locations, std::unique_ptr<Dialogs> dialogs = nullptr);
    ~TfrmMain() override;
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    // The main window; null once it has been destroyed (closed).
    HWND window() const noexcept { return window_; }
    ShellOpener& opener() noexcept { return opener_; }

    void Show(int showCommand);
    // Files named on the program's command line, selected as a drop of them
    // is; handed over once, before the window shows.
    void CommandLineFiles(const std::vector<std::string>& paths) { logic_.CommandLineFiles(paths); }
    // Called once the window is destroyed; the application ends its message
    // loop there.
    void SetDestroyHandler(std::function<void()> handler) { onDestroy_ = std::move(handler); }

    // WindowPort
    std::string PasswordText() const override;
    int SuffixMode() const override;
    int EncryptionClassIndex() const override;
    std::string FolderBoxText() const override;
    void SetFolderBoxText(const std::string& text) override;
    void ProcessPendingEvents() override;
    void SetOuterHeight(int height) override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressLabel(const std::string& text) override;
    void SetDecryptEnabled(bool enabled) override;
    void SetRunCommandsEnabled(bool enabled) override;
    void OpenLocalPath(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
    void SetTexts(const FormTexts& texts) override;
    void NavigateBanner(const std::string& url, const std::string& fallbackPath) override;
    void Close() override;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(HWND hwnd, int id, HWND control, UINT code);
    void OnClose(HWND hwnd);
    void OnDestroy(HWND hwnd);
    void OnActivate(HWND hwnd, UINT state, HWND other, BOOL minimized);
    void OnSetFocus(HWND hwnd, HWND previous);
    void OnDropFiles(HWND hwnd, HDROP drop);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    SIZE OuterSize() const;

    void CreateControls();
    void PlaceControls();
    // Gives every control the form's font, or a smaller one where its
    // caption would not fit.
    void ApplyFonts();
    void CentreOnWorkArea();
    HWND Control(form::Id id) const noexcept;
    // Index of the checked item of a radio group.
    int CheckedItem(form::Id group) const;
    // Disables a control; the focus moves on first, so the keyboard (Esc
    // above all) keeps working.
    void EnableControl(form::Id id, bool enabled);

    // The system's boxes, made here when no dialogs were given; they know
    // their owner once the window exists.
    std::unique_ptr<Dialogs> MakeSystemDialogs();

    Win32Dialogs* systemDialogs_ = nullptr;
    std::unique_ptr<Dialogs> dialogs_;
    ShellOpener opener_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    int formHeight_ = form::kCreationOuterHeight;  // the last one asked for
    FormFonts fonts_{96};
    std::unique_ptr<WebBanner> banner_;
    HWND focusWhenDeactivated_ = nullptr;
    std::function<void()> onDestroy_;

    // Last member: its handlers reach the controls above through the port.
    MainWindowLogic logic_;
};

}  // namespace imgcrypt::winui
