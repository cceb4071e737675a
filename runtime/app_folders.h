// Where the application keeps its settings file "config.db", without Qt, so
// every front end on every platform settles it the same way.
#pragma once

#include <string>

namespace imgcrypt {

// The folder of the running program, ending in the path separator; empty
// when the system cannot tell. Per platform: runtime/app_folders_*.cpp.
std::string ProgramFolder();

// The user's configuration folder of the application, ending in the path
// separator: %APPDATA%\imgcrypt\ on Windows, $XDG_CONFIG_HOME/imgcrypt/ or
// ~/.config/imgcrypt/ elsewhere. Empty when the system cannot tell.
std::string UserConfigFolder();

// "config.db" beside the program when that folder is writable (a portable
// copy), otherwise in UserConfigFolder(), which is created if missing.
std::string SettingsFilePath();

}  // namespace imgcrypt
