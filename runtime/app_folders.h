// Where the application keeps its settings file "config.db", without Qt, so
// every front end on every platform settles it by the same rule.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt {

// The local help page (Chinese; the English one has an "e" before the name).
// A program folder that holds it is one the program runs from on its own.
inline constexpr std::string_view kHelpPage = "help.htm";

// The folder of the running program, ending in the path separator; empty
// when the system cannot tell. Per platform: runtime/app_folders_*.cpp.
std::string ProgramFolder();

// The user's configuration folder of the application, ending in the path
// separator: %APPDATA%\imgcrypt\ on Windows, $XDG_CONFIG_HOME/imgcrypt/ or
// ~/.config/imgcrypt/ elsewhere. Empty when the system cannot tell.
std::string UserConfigFolder();

// The uninstaller the Windows setup program leaves beside the programs
// (cmake/nsis/NSIS.template.in): a folder holding it is an installation.
inline constexpr std::string_view kUninstallerName = "uninstall.exe";

// Whether a program in `programFolder` runs from a folder of its own (a
// build folder, a copied folder, the unpacked Windows zip): its help pages
// lie beside it and no setup program installed it there. An installed Linux
// program finds its pages elsewhere; an installed Windows program has them
// beside it, and its uninstaller too.
bool IsPortableProgramFolder(const std::string& programFolder);

// Where "config.db" lives for a program in `programFolder` (both folders end
// in a separator): beside the program when its folder is portable and
// writable, so a copy carries its settings along; otherwise in
// `userConfigFolder`, created with its parents when missing. An installed
// program never keeps it beside itself, even where it could write (root, or
// a Windows installation in the user's own programs folder), so the
// uninstaller leaves it alone and every user keeps their own.
std::string SettingsFilePath(const std::string& programFolder, const std::string& userConfigFolder);

}  // namespace imgcrypt
