#include "winui/dialogs.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "batch/language_tables.h"
#include "runtime/utf16.h"

namespace imgcrypt::winui {

namespace {

// Room for the open dialog's answer: the folder once, then thousands of names.
constexpr DWORD kOpenAnswerChars = 256 * 1024;
// Past this the dialog is not asked again: no selection needs that much.
constexpr DWORD kMaxOpenAnswerChars = 64 * 1024 * 1024;

// A Yes/No message box ignores Esc, having no Cancel button; the confirmation
// answers No to it. The hook lives as long as one box: it subclasses the box
// when it activates, turning the dialog keys' IDCANCEL into No.
LRESULT CALLBACK EscapeAnswersNo(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, IDNO);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, EscapeAnswersNo, id);
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK SubclassMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring_view(className) == L"#32770") {
            SetWindowSubclass(window, EscapeAnswersNo, 1, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class MessageBoxHook {
  public:
    MessageBoxHook()
        : hook_(SetWindowsHookExW(WH_CBT, SubclassMessageBox, nullptr, GetCurrentThreadId())) {}
    ~MessageBoxHook() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    }
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

  private:
    HHOOK hook_;
};

}  // namespace

std::wstring DialogFilter(const std::vector<FilterEntry>& entries) {
    if (entries.empty()) return {};
    std::wstring out;
    for (const FilterEntry& entry : entries) {
        out += Utf16FromUtf8(entry.description);
        out.push_back(L'\0');
        for (std::size_t i = 0; i < entry.patterns.size(); ++i) {
            if (i > 0) out.push_back(L';');
            out += Utf16FromUtf8(entry.patterns[i]);
        }
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

std::vector<std::string> PathsFromOpenAnswer(std::wstring_view answer) {
    std::vector<std::wstring_view> fields;
    while (!answer.empty() && answer.front() != L'\0') {
        const std::size_t end = std::min(answer.find(L'\0'), answer.size());
        fields.push_back(answer.substr(0, end));
        answer.remove_prefix(std::min(end + 1, answer.size()));
    }
    std::vector<std::string> paths;
    if (fields.size() == 1) {
        paths.push_back(Utf8FromUtf16(fields.front()));
        return paths;
    }
    for (std::size_t i = 1; i < fields.size(); ++i) {
        // Only a drive's root ("C:\") comes with its final separator.
        std::wstring path(fields.front());
        if (!path.ends_with(L'\\')) path += L'\\';
        path += fields[i];
        paths.push_back(Utf8FromUtf16(path));
    }
    return paths;
}

void Win32Dialogs::Message(const std::string& caption, const std::string& text) {
    ShowWithOk(MB_ICONINFORMATION, caption, text);
}

void Win32Dialogs::Error(const std::string& caption, const std::string& text) {
    ShowWithOk(MB_ICONERROR, caption, text);
}

void Win32Dialogs::ShowWithOk(UINT icon, const std::string& caption, const std::string& text) {
    MessageBoxW(owner_, Utf16FromUtf8(text).c_str(), Utf16FromUtf8(caption).c_str(), MB_OK | icon);
}

bool Win32Dialogs::Confirm(const std::string& text) {
    const MessageBoxHook escapeAnswersNo;
    return MessageBoxW(owner_, Utf16FromUtf8(text).c_str(), Utf16FromUtf8(kConfirmCaption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

std::vector<std::string> Win32Dialogs::OpenFiles(const OpenDialogRequest& request) {
    const std::vector<FilterEntry> entries = FilterEntries(request.filter);
    const std::wstring filter = DialogFilter(entries);
    const std::wstring initialFolder = Utf16FromUtf8(request.initialFolder);
    const std::wstring defaultName = Utf16FromUtf8(request.defaultFileName);
    DWORD capacity = std::max<DWORD>(kOpenAnswerChars, static_cast<DWORD>(defaultName.size()) + 2);
    for (;;) {
        std::wstring answer(capacity, L'\0');
        std::copy(defaultName.begin(), defaultName.end(), answer.begin());
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner_;
        dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        dialog.nFilterIndex =
            static_cast<DWORD>(OpeningFilterEntry(request.filterIndex, entries.size()) + 1);
        dialog.lpstrFile = answer.data();
        dialog.nMaxFile = capacity;
        dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
        dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                       OFN_FILEMUSTEXIST;
        if (GetOpenFileNameW(&dialog)) return PathsFromOpenAnswer(answer);
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || capacity >= kMaxOpenAnswerChars) {
            return {};
        }
        // Asked again with more room; the first character tells the size
        // needed, as far as 16 bits can.
        const DWORD needed = static_cast<WORD>(answer.front());
        capacity = std::min(std::max(capacity * 2, needed + 2), kMaxOpenAnswerChars);
    }
}

}  // namespace imgcrypt::winui
