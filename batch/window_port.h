// Everything the window logic needs from the window. The Qt main window
// implements it; tests fake it.
#pragma once

#include <string>
#include <vector>

#include "batch/language_tables.h"

namespace imgcrypt {

// The settings of the open-file dialog that the logic keeps between calls.
struct OpenDialogRequest {
    std::string filter;           // "description|patterns|description|patterns"
    int filterIndex = 0;          // 0 or 4: both open on the first entry
    std::string initialFolder;    // empty for the first call after start-up
    std::string defaultFileName;  // first path of the last selection
};

class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // Controls the logic reads.
    virtual std::string PasswordText() const = 0;   // edtEnpass
    virtual int SuffixMode() const = 0;             // rgsuffix item index, 0 or 1
    virtual int EncryptionClassIndex() const = 0;   // gbencClass item index, 0 or 1
    virtual std::string FolderBoxText() const = 0;  // edtdir
    virtual void SetFolderBoxText(const std::string& text) = 0;

    // A plain message box: caption the application title, one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // "Confirm" box with "&Yes" and "&No", Yes the default, Esc answering No.
    virtual bool Confirm(const std::string& text) = 0;
    // The default error handler's box: error icon, application title, one OK.
    // `text` is already formatted (DefaultHandlerText).
    virtual void ShowError(const std::string& text) = 0;
    // The multi-select open-file dialog; the chosen full paths in the
    // dialog's order, empty when cancelled.
    virtual std::vector<std::string> ShowOpenDialog(const OpenDialogRequest& request) = 0;

    // Lets the window handle pending input (Cancel, the live controls).
    virtual void ProcessPendingEvents() = 0;
    // The outer height: kRestHeight or kRunHeight.
    virtual void SetOuterHeight(int height) = 0;
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetProgressLabel(const std::string& text) = 0;

    // The Decrypt button: the logic alone decides it (off during a run and
    // after the lockout), so it is not one of the run commands below.
    virtual void SetDecryptEnabled(bool enabled) = 0;
    // Open, File > Open, Encrypt and the two language commands.
    virtual void SetRunCommandsEnabled(bool enabled) = 0;

    // Hands a local path to the desktop: a folder opens in the file manager,
    // a file (the help pages) in the application that shows it.
    virtual void OpenLocalPath(const std::string& path) = 0;
    // Opens a web address in the desktop's browser.
    virtual void OpenUrl(const std::string& url) = 0;

    // Puts every caption, radio-group item, the window caption and the
    // application title of the table in place; `aboutItem` is the complete
    // About caption (prefix + site name).
    virtual void ApplyLanguage(const LanguageTable& table, const std::string& aboutItem) = 0;
    // Loads the banner page `url` of the site. When it cannot be loaded, the
    // local page `fallbackPath` shows instead; when that fails too, the
    // banner stays blank and nothing is tried again.
    virtual void NavigateBanner(const std::string& url, const std::string& fallbackPath) = 0;
};

// The window's outer heights: at rest the progress row is hidden, during a
// run it shows.
inline constexpr int kRestHeight = 370;
inline constexpr int kRunHeight = 400;

}  // namespace imgcrypt
