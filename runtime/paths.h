// Splitting file paths into folder and name. The only place that knows the
// path delimiters: '/' in the POSIX build. The _WIN32 branches hold the
// classic tool's delimiters ('\', '/' and ':'); no Windows build is set up
// yet, so they are neither compiled nor tested today.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt {

// The character joined between a folder and a name when building paths.
inline constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

bool IsPathDelimiter(char c) noexcept;

// Everything up to and including the last delimiter; empty without one.
std::string PathFolder(std::string_view path);
// Everything after the last delimiter; the whole path without one.
std::string PathName(std::string_view path);
// PathFolder without its final delimiter, unless that delimiter is the first
// character or follows another delimiter.
std::string PathFolderTrimmed(std::string_view path);

}  // namespace imgcrypt
