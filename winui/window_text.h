// Window texts in the program's UTF-8, through the wide calls, so Chinese
// shows on any Windows locale.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "codec/secret_bytes.h"
#include "runtime/utf16.h"

namespace imgcrypt::winui {

inline std::wstring WideWindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::string Utf8WindowText(HWND window) {
    return Utf8FromUtf16(WideWindowText(window));
}

// `wide` as UTF-8, and `wide` wiped: for a secret read from a box (the
// password), whose UTF-16 copy must not outlive its use in freed memory.
inline std::string Utf8WipingUtf16(std::wstring& wide) {
    std::string text = Utf8FromUtf16(wide);
    WipeBytes(wide.data(), wide.size() * sizeof(wchar_t));
    return text;
}

inline void SetUtf8WindowText(HWND window, std::string_view text) {
    SetWindowTextW(window, Utf16FromUtf8(text).c_str());
}

}  // namespace imgcrypt::winui
