// Where the application keeps its settings, finds its pages and which web
// site it links to; settled once, by the application entry of each window.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt {

struct AppLocations {
    std::string configPath;  // the settings file "config.db"
    // Folder holding the local pages, with final separator: the help pages
    // "help.htm" and "ehelp.htm", the banner's offline pages "banner.htm" and
    // "ebanner.htm".
    std::string helpFolder;
    std::string exeFolder;  // folder of the running executable, with final separator
    std::string siteHost;   // host of the maker's web site, e.g. "www.example.com"
};

// The folder `relative` names from `programFolder` (which ends in a
// separator), with final separator: each leading "../" goes one folder up;
// an empty `relative` is the program's folder itself.
std::string FolderFromProgram(const std::string& programFolder, std::string_view relative);

// Two layouts. A program run from its own folder (a build folder, an unpacked
// archive) has its pages beside it and keeps its settings there too, as long
// as that folder is writable, so a copy carries its settings along. An
// installed program finds its pages in `installedPagesFolder` and keeps its
// settings in `userConfigFolder`, whoever runs it: even root never writes
// into the folder of the programs. The settings rule itself is the runtime's
// (runtime/app_folders.h), shared with the command line.
AppLocations SettleAppLocations(const std::string& programFolder,
                                const std::string& installedPagesFolder,
                                const std::string& userConfigFolder, std::string siteHost);

// The same for the running program: the build's pages folder and site host.
AppLocations SettleAppLocations();

}  // namespace imgcrypt
