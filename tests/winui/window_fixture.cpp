#include "tests/winui/window_fixture.h"

#include <optional>

#include "runtime/utf16.h"
#include "winui/message_loop.h"
#include "winui/ui_thread_setup.h"

namespace imgcrypt::winui::test {

namespace {

// What the application's entry does before it creates the window.
class WindowEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { setup_.emplace(); }
    void TearDown() override { setup_.reset(); }

  private:
    std::optional<UiThreadSetup> setup_;
};

const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

}  // namespace

std::string SampleBytes(std::size_t size, unsigned seed) {
    std::string bytes;
    bytes.reserve(size);
    unsigned state = seed * 2654435761u + 1u;
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        if (i < 256) {
            bytes += static_cast<char>(i);
        } else if (i % 97 == 0) {
            bytes += "\r\n";
        } else {
            state = state * 1103515245u + 12345u;
            bytes += static_cast<char>(state >> 24);
        }
    }
    bytes.resize(size);
    return bytes;
}

RECT ClientRectOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int ClientWidth(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r.right - r.left;
}

int ClientHeight(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r.bottom - r.top;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::string MenuCaption(HMENU menu, form::Id id) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        if (item.wID == static_cast<UINT>(CommandId(id))) return Utf8FromUtf16(text);
        if (item.hSubMenu != nullptr) {
            std::string found = MenuCaption(item.hSubMenu, id);
            if (!found.empty()) return found;
        }
    }
    return {};
}

bool MenuEnabled(HMENU menu, form::Id id) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(CommandId(id)), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

WindowFixture::WindowFixture(std::optional<std::string> config, const std::string& siteHost)
    : photos_(FolderPath(dir_) + "photos\\") {
    const std::string exe = FolderPath(dir_) + "exe\\";
    std::filesystem::create_directory(FsPath(exe));
    std::filesystem::create_directory(FsPath(photos_));
    locations_ = AppLocations{exe + "config.db", exe, exe, siteHost};
    if (config) WriteBytes(locations_.configPath, *config);
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<TfrmMain>(locations_, std::move(dialogs));
    window_->opener().SetOpener(
        [this](HWND, const std::wstring& target) { opened_.push_back(Utf8FromUtf16(target)); });
}

void WindowFixture::Click(form::Id id) {
    SendMessageW(Control(id), BM_CLICK, 0, 0);
}

void WindowFixture::Command(form::Id id) {
    SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(CommandId(id), 0), 0);
}

void WindowFixture::TypePassword(const std::string& password) {
    SetUtf8WindowText(Control(form::Id::edtEnpass), password);
}

void WindowFixture::Select(std::vector<std::string> paths) {
    dialogs().QueueOpenFiles(std::move(paths));
    Click(form::Id::btnopen);
}

void WindowFixture::Pump() {
    PumpPendingMessages(hwnd());
}

std::vector<std::string> WindowFixture::MakeSources(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < names.size(); ++i) {
        paths.push_back(photos_ + names[i]);
        WriteBytes(paths.back(), SampleBytes(300 + 4000 * i, static_cast<unsigned>(i)));
    }
    return paths;
}

}  // namespace imgcrypt::winui::test
