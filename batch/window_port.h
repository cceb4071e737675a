// Everything the window logic needs from the window but its boxes (Dialogs,
// batch/dialogs.h). The Qt window (ui/) and the native Windows window
// (winui/) implement it; tests fake it. A window carries out each call on
// the control of the form the call names.
#pragma once

#include <string>

#include "batch/form_texts.h"

namespace imgcrypt {

class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // Controls the logic reads.
    virtual std::string PasswordText() const = 0;   // edtEnpass
    virtual int SuffixMode() const = 0;             // rgsuffix: index of the checked item
    virtual int EncryptionClassIndex() const = 0;   // gbencClass: index of the checked item
    virtual std::string FolderBoxText() const = 0;  // edtdir
    virtual void SetFolderBoxText(const std::string& text) = 0;

    // Lets the window handle pending input (Cancel, the live controls).
    virtual void ProcessPendingEvents() = 0;
    // The outer height: form::kRestHeight or form::kRunHeight.
    virtual void SetOuterHeight(int height) = 0;
    // ProgressBar1 and lbprogress.
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetProgressLabel(const std::string& text) = 0;

    // The Decrypt button: the logic alone decides it (off during a run and
    // after the lockout), so it is not one of the run commands below.
    virtual void SetDecryptEnabled(bool enabled) = 0;
    // The controls and menu entries of form::kRunCommands.
    virtual void SetRunCommandsEnabled(bool enabled) = 0;

    // Hands a local path to the desktop: a folder opens in the file manager,
    // a file (the help pages) in the application that shows it.
    virtual void OpenLocalPath(const std::string& path) = 0;
    // Opens a web address in the desktop's browser.
    virtual void OpenUrl(const std::string& url) = 0;

    // Puts every caption of `texts` on its control or menu entry and the
    // window caption in place.
    virtual void SetTexts(const FormTexts& texts) = 0;
    // Loads the banner page `url` of the site. When it cannot be loaded, the
    // local page `fallbackPath` shows instead; when that fails too, the
    // banner stays blank and nothing is tried again (batch/banner_stages.h).
    virtual void NavigateBanner(const std::string& url, const std::string& fallbackPath) = 0;
    // Closes the window as the user's close does, once the handler that asks
    // has returned.
    virtual void Close() = 0;
};

}  // namespace imgcrypt
