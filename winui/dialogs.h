// The Win32 window's boxes and open-file dialog: the system's message boxes
// and its Explorer-style open dialog.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "batch/dialog_filter.h"
#include "batch/dialogs.h"

namespace imgcrypt::winui {

// The filter's entries in the form the Windows dialog takes: description
// and ";"-separated patterns, every field ended by NUL, the list by a second
// NUL; empty without entries.
std::wstring DialogFilter(const std::vector<FilterEntry>& entries);

// The answer of a multi-select Explorer-style dialog as full paths (UTF-8) in
// the dialog's order: one full path, or the folder followed by the names,
// each ended by NUL, the list by a second NUL.
std::vector<std::string> PathsFromOpenAnswer(std::wstring_view answer);

class Win32Dialogs final : public Dialogs {
  public:
    // The boxes are modal to `owner`.
    explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) noexcept { owner_ = owner; }

    void Message(const std::string& caption, const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void Error(const std::string& caption, const std::string& text) override;
    std::vector<std::string> OpenFiles(const OpenDialogRequest& request) override;

  private:
    // A box with one OK button: the plain message and the error box.
    void ShowWithOk(UINT icon, const std::string& caption, const std::string& text);

    HWND owner_;
};

}  // namespace imgcrypt::winui
