// Every modal box and the open-file dialog of the Win32 main window go through
// this one class, so a scripted instance (tests, the screenshot tool) can
// answer them in advance and record what was shown, and never blocks on a box
// nobody answers. The interactive instance the application uses keeps nothing.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "batch/scripted_dialogs.h"
#include "batch/window_port.h"

namespace imgcrypt::winui {

// The filter "description|patterns|description|patterns" in the form the
// Windows dialog takes: every field ended by NUL, the list by a second NUL.
std::wstring DialogFilter(std::string_view filter);

// The filter entry the dialog opens on, counted from 1. The logic's indexes
// 0 and 4 both mean the first entry; anything outside 1..entries becomes 1,
// so no system's reading of an out-of-range index matters.
DWORD DialogFilterIndex(int index, std::string_view filter);

// The answer of a multi-select Explorer-style dialog as full paths (UTF-8) in
// the dialog's order: one full path, or the folder followed by the names,
// each ended by NUL, the list by a second NUL.
std::vector<std::string> PathsFromOpenAnswer(std::wstring_view answer);

class Dialogs : public ScriptedDialogs<std::string, std::vector<std::string>> {
  public:
    explicit Dialogs(Mode mode = Mode::Interactive) : ScriptedDialogs(mode) {}

    void SetOwner(HWND owner) { owner_ = owner; }

    // Plain message: information icon, one OK button.
    void Message(const std::string& caption, const std::string& text);
    // "Confirm" with Yes and No, Yes the default, Esc answering No.
    bool Confirm(const std::string& text);
    // The default error handler's box: error icon, one OK button.
    void Error(const std::string& caption, const std::string& text);
    // Chosen full paths in the dialog's order; empty when cancelled.
    std::vector<std::string> OpenFiles(const OpenDialogRequest& request);

  private:
    // A box with one OK button, recorded first.
    void ShowWithOk(Kind kind, UINT icon, const std::string& caption, const std::string& text);
    std::vector<std::string> ShowOpenDialog(const OpenDialogRequest& request) const;

    HWND owner_ = nullptr;
};

}  // namespace imgcrypt::winui
