// The application's main window on Windows: the form's controls and menu as
// native Win32 windows, wired to the window logic, which reaches back through
// WindowPort. One window procedure, no framework.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "batch/main_window_logic.h"
#include "batch/window_port.h"
#include "winui/dialogs.h"
#include "winui/form_fonts.h"
#include "winui/shell_opener.h"
#include "winui/web_banner.h"

namespace imgcrypt::winui {

// The registered window class, named after the form.
inline constexpr const wchar_t* kWindowClassName = L"TfrmMain";

class TfrmMain : public WindowPort {
  public:
    // Creates the hidden window with its controls and menu, runs FormCreate
    // (settings, language, banner), then centres the window on its monitor's
    // work area. Errors of start-up are shown in the error box; only a window
    // the system refuses to create throws (std::system_error).
    explicit TfrmMain(AppLocations locations, std::unique_ptr<Dialogs> dialogs = nullptr);
    ~TfrmMain() override;
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    // The main window; null once it has been destroyed (closed).
    HWND window() const noexcept { return window_; }
    MainWindowLogic& logic() noexcept { return logic_; }
    Dialogs& dialogs() noexcept { return *dialogs_; }
    ShellOpener& opener() noexcept { return opener_; }
    // Caption of message boxes: the application title of the current language.
    const std::string& applicationTitle() const noexcept { return applicationTitle_; }
    // The outer height last asked for by the logic (kRestHeight or kRunHeight).
    int outerHeight() const noexcept { return outerHeight_; }
    // Whether the banner holds the web-browser control.
    bool BannerHasBrowser() const noexcept;

    void Show(int showCommand);
    // Called once the window is destroyed; the application ends its message
    // loop there.
    void SetDestroyHandler(std::function<void()> handler) { onDestroy_ = std::move(handler); }

    // WindowPort
    std::string PasswordText() const override;
    int SuffixMode() const override;
    int EncryptionClassIndex() const override;
    std::string FolderBoxText() const override;
    void SetFolderBoxText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::vector<std::string> ShowOpenDialog(const OpenDialogRequest& request) override;
    void ProcessPendingEvents() override;
    void SetOuterHeight(int height) override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    void SetProgressLabel(const std::string& text) override;
    void SetDecryptEnabled(bool enabled) override;
    void SetRunCommandsEnabled(bool enabled) override;
    void OpenLocalPath(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
    void ApplyLanguage(const LanguageTable& table, const std::string& aboutItem) override;
    void NavigateBanner(const std::string& url, const std::string& fallbackPath) override;

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

    void CreateControls();
    void PlaceControls();
    // Gives every control the form's font, or a smaller one where its
    // caption would not fit.
    void ApplyFonts();
    void CentreOnWorkArea();
    HWND Control(int id) const noexcept { return GetDlgItem(window_, id); }
    // Disables a control; the focus moves on first, so the keyboard (Esc
    // above all) keeps working.
    void EnableControl(int id, bool enabled);

    std::unique_ptr<Dialogs> dialogs_;
    ShellOpener opener_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    FormFonts fonts_{96};
    std::unique_ptr<WebBanner> banner_;
    std::string applicationTitle_;
    int outerHeight_ = 0;
    bool closeAfterRun_ = false;
    HWND focusWhenDeactivated_ = nullptr;
    std::function<void()> onDestroy_;

    // Last member: its handlers reach the controls above through the port.
    MainWindowLogic logic_;
};

}  // namespace imgcrypt::winui
