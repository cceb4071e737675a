#include "tests/winui/started_window.h"

// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <stdexcept>
#include <string>

#include "runtime/utf16.h"
#include "winui/layout.h"
#include "winui/main_window.h"

namespace imgcrypt::winui::test {

namespace {

// Generous: a machine under load starts Wine programs slowly.
constexpr DWORD kPatienceMs = 60000;
constexpr DWORD kPollMs = 50;

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && ClassName(window) == search->className &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The first visible top-level window of the class in the process, waited for.
HWND WaitForWindow(DWORD processId, const wchar_t* className) {
    Search search{processId, className, nullptr};
    for (DWORD waited = 0; search.found == nullptr && waited < kPatienceMs; waited += kPollMs) {
        Sleep(kPollMs);
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

// GetWindowText does not ask a control of another process for its text;
// the message does.
std::string ControlText(HWND control) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Utf8FromUtf16(text);
}

std::wstring CommandLine(const std::string& program, const std::vector<std::string>& arguments) {
    // File names hold no quotes, so quoting each is all a shell does.
    std::wstring line = L"\"" + Utf16FromUtf8(program) + L"\"";
    for (const std::string& argument : arguments) line += L" \"" + Utf16FromUtf8(argument) + L"\"";
    return line;
}

}  // namespace

StartedWindow::StartedWindow(const std::string& program,
                             const std::vector<std::string>& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = CommandLine(program, arguments);
    if (!CreateProcessW(Utf16FromUtf8(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &process_)) {
        throw std::runtime_error("cannot start " + program);
    }
    window_ = WaitForWindow(process_.dwProcessId, kWindowClassName);
    if (window_ == nullptr) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process_.hProcess, &exitCode);
        throw std::runtime_error("no window of " + program +
                                 (exitCode == STILL_ACTIVE
                                      ? std::string(" (still running)")
                                      : " (ended with " + std::to_string(exitCode) + ")"));
    }
}

StartedWindow::~StartedWindow() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::string StartedWindow::Caption() const {
    return ControlText(window_);
}

std::string StartedWindow::Text(form::Id id) const {
    return ControlText(GetDlgItem(window_, CommandId(id)));
}

std::string StartedWindow::Encrypt(const std::string& password) {
    SendMessageW(GetDlgItem(window_, CommandId(form::Id::edtEnpass)), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Utf16FromUtf8(password).c_str()));
    // Posted, not sent: the run and its box keep the window's thread busy.
    const HWND encrypt = GetDlgItem(window_, CommandId(form::Id::btnenc));
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(CommandId(form::Id::btnenc), BN_CLICKED),
                 reinterpret_cast<LPARAM>(encrypt));
    const HWND box = WaitForWindow(process_.dwProcessId, L"#32770");
    if (box == nullptr) throw std::runtime_error("no box after Encrypt");
    // A message box shows its text in the static control 0xFFFF.
    const std::string text = ControlText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK, 0);
    return text;
}

DWORD StartedWindow::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        throw std::runtime_error("the program did not end");
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return exitCode;
}

std::string ShortcutTarget(const std::string& link) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    std::wstring target(MAX_PATH, L'\0');
    bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&shellLink)));
    read = read &&
           SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    read = read && SUCCEEDED(file->Load(Utf16FromUtf8(link).c_str(), STGM_READ));
    read = read && SUCCEEDED(shellLink->GetPath(target.data(), static_cast<int>(target.size()),
                                                nullptr, SLGP_RAWPATH));
    if (file != nullptr) file->Release();
    if (shellLink != nullptr) shellLink->Release();
    if (SUCCEEDED(com)) CoUninitialize();
    if (!read) throw std::runtime_error("cannot read the shortcut " + link);
    target.resize(target.find(L'\0'));
    return Utf8FromUtf16(target);
}

}  // namespace imgcrypt::winui::test
