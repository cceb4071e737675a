// Splitting file paths into folder and name. With runtime/path_style_*.cpp,
// the only place that knows the platform's path delimiters.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt {

// The character joined between a folder and a name when building paths.
// This and the two tests below are the platform's: runtime/path_style_*.cpp.
extern const char kPathSeparator;

// Whether `c` ends a folder part of a path (on Windows also the drive colon).
bool IsPathDelimiter(char c) noexcept;
// Whether `c` stands between folders, as opposed to after a drive letter.
bool IsFolderSeparator(char c) noexcept;

// Everything up to and including the last delimiter; empty without one.
std::string PathFolder(std::string_view path);
// Everything after the last delimiter; the whole path without one.
std::string PathName(std::string_view path);
// PathFolder without its final separator, unless that separator is the first
// character or follows another delimiter; a final drive colon stays.
std::string PathFolderTrimmed(std::string_view path);

}  // namespace imgcrypt
