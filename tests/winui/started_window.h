// imgcrypt-gui.exe as a process of its own, started as Explorer, the Start
// menu or "Send to" start it, and driven from outside through its window's
// messages: shared by the app-entry test and the setup test's probe.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "batch/form_layout.h"

namespace imgcrypt::winui::test {

class StartedWindow {
  public:
    // Starts `program` with `arguments` (UTF-8 paths, each quoted as a shell
    // quotes a name with blanks) and waits for its main window. Throws
    // std::runtime_error when the program does not start or shows no window.
    StartedWindow(const std::string& program, const std::vector<std::string>& arguments);
    // Ends a program that is still running (a test that failed half-way).
    ~StartedWindow();
    StartedWindow(const StartedWindow&) = delete;
    StartedWindow& operator=(const StartedWindow&) = delete;

    std::string Caption() const;
    // The text of the form's control `id`.
    std::string Text(form::Id id) const;
    // Types `password`, presses Encrypt and answers the box that ends the
    // run: No, so no folder opens. Returns that box's text; throws when no
    // box comes.
    std::string Encrypt(const std::string& password);
    // Closes the window as its close button does; the program's exit code
    // once it has ended. Throws when it does not end.
    DWORD Close();

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// The path of the program a shortcut (.lnk) starts; throws when it cannot
// be read.
std::string ShortcutTarget(const std::string& link);

}  // namespace imgcrypt::winui::test
