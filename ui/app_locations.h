// Where the application keeps its settings and finds its help pages; settled
// once, at start-up.
#pragma once

#include <QString>

#include "batch/main_window_logic.h"

namespace imgcrypt {

// Settings beside the executable when that folder is writable (the portable
// case); otherwise in the user's configuration folder for the application.
// Help pages beside the executable when they are there (build tree, portable
// copy); otherwise the installed data folder.
AppLocations SettleAppLocations(const QString& exeFolder, const QString& installedDataFolder,
                                const QString& userConfigFolder, const QString& siteHost);

// The same for the running program, with the build's installed data folder
// and site host.
AppLocations SettleAppLocations();

}  // namespace imgcrypt
