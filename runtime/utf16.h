// Conversion between the UTF-8 of the program's names and texts and the
// UTF-16 of the Windows API. Windows builds only (runtime/utf16_windows.cpp).
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt {

// Bytes that are no UTF-8 become U+FFFD.
std::wstring Utf16FromUtf8(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::wstring_view text);

}  // namespace imgcrypt
