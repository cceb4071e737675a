// Where the application keeps its settings and finds its help pages; settled
// once, at start-up.
#pragma once

#include <QString>

#include "batch/main_window_logic.h"

namespace imgcrypt {

// Two layouts. A program run from its own folder (a build folder, an unpacked
// archive) has its help pages beside it and keeps its settings there too, as
// long as that folder is writable, so a copy carries its settings along. An
// installed program finds its help pages in `installedDataFolder` and keeps
// its settings in `userConfigFolder`, whoever runs it: even root never writes
// into the folder of the programs. The user's folder is created when needed.
// The settings rule itself is the runtime's (runtime/app_folders.h), shared
// with every other front end.
AppLocations SettleAppLocations(const QString& exeFolder, const QString& installedDataFolder,
                                const QString& userConfigFolder, const QString& siteHost);

// The installed data folder of a program in `exeFolder`, found relative to it
// (`<prefix>/bin` -> `<prefix>/share/imgcrypt`), so the same binaries work
// under any prefix and in a package unpacked anywhere.
QString InstalledDataFolder(const QString& exeFolder);

// The same for the running program, with the build's site host.
AppLocations SettleAppLocations();

}  // namespace imgcrypt
