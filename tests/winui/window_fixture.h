// Shared pieces of the Win32 window tests: a window on a temporary folder
// with scripted dialogs and recorded links, driven by the messages a user's
// clicks and keys would send, and small file helpers with UTF-8 names.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/form_layout.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"
#include "winui/layout.h"
#include "winui/main_window.h"
#include "winui/window_text.h"

namespace imgcrypt::winui::test {

// A port nobody listens on: the banner fails to load at once.
inline constexpr const char* kDeadSiteHost = "127.0.0.1:9";

using imgcrypt::test::FsPath;
using imgcrypt::test::ReadBytes;
using imgcrypt::test::ScriptedDialogs;
using imgcrypt::test::TempFolder;
using imgcrypt::test::WriteBytes;
// Bytes that exercise the codec: every byte value, line breaks, a seeded tail.
std::string SampleBytes(std::size_t size, unsigned seed);
// A temporary folder's path with the final separator, as the folder box shows it.
inline std::string FolderPath(const TempFolder& folder) {
    return folder.path() + "\\";
}

inline std::string TextOf(HWND window) {
    return Utf8WindowText(window);
}
// Rectangle of a child window in its parent's client pixels.
RECT ClientRectOf(HWND child);
// Size of a window's client area.
int ClientWidth(HWND window);
int ClientHeight(HWND window);
std::wstring ClassOf(HWND window);
// Caption of the menu entry `id` anywhere in `menu` (UTF-8); empty when absent.
std::string MenuCaption(HMENU menu, form::Id id);
bool MenuEnabled(HMENU menu, form::Id id);

class WindowFixture {
  public:
    // `config` is written to config.db first, when given.
    explicit WindowFixture(std::optional<std::string> config = std::nullopt,
                           const std::string& siteHost = kDeadSiteHost);

    TfrmMain& window() { return *window_; }
    HWND hwnd() { return window_->window(); }
    ScriptedDialogs& dialogs() { return *dialogs_; }
    const AppLocations& locations() const { return locations_; }
    // Targets handed to the shell, in order.
    const std::vector<std::string>& opened() const { return opened_; }
    // Folder for source files, with final separator.
    const std::string& photos() const { return photos_; }

    HWND Control(form::Id id) { return GetDlgItem(hwnd(), CommandId(id)); }
    std::string Text(form::Id id) { return TextOf(Control(id)); }
    bool Enabled(form::Id id) { return IsWindowEnabled(Control(id)) != FALSE; }
    std::string Menu(form::Id id) { return MenuCaption(GetMenu(hwnd()), id); }
    bool MenuItemEnabled(form::Id id) { return MenuEnabled(GetMenu(hwnd()), id); }
    // Presses a button as a click does.
    void Click(form::Id id);
    // Chooses a menu command.
    void Command(form::Id id);
    // Replaces the password box's text, as typing or pasting does.
    void TypePassword(const std::string& password);
    // Picks `paths` through the Open button with the dialog answered.
    void Select(std::vector<std::string> paths);
    // Handles what waits in the queue, as the message loop would.
    void Pump();
    // Sample files of growing sizes under `names` in photos(); their paths.
    std::vector<std::string> MakeSources(const std::vector<std::string>& names);

  private:
    TempFolder dir_;
    std::string photos_;
    AppLocations locations_;
    std::vector<std::string> opened_;
    ScriptedDialogs* dialogs_ = nullptr;  // owned by the window
    std::unique_ptr<TfrmMain> window_;
};

}  // namespace imgcrypt::winui::test
