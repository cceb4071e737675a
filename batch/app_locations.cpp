#include "batch/app_locations.h"

#include <utility>

#include "imgcrypt_locations.h"
#include "runtime/app_folders.h"
#include "runtime/paths.h"

namespace imgcrypt {

std::string FolderFromProgram(const std::string& programFolder, std::string_view relative) {
    std::string folder = programFolder;
    while (relative.starts_with("../")) {
        folder = PathFolder(PathFolderTrimmed(folder));
        relative.remove_prefix(3);
    }
    while (!relative.empty()) {
        const std::size_t end = relative.find('/');
        folder += relative.substr(0, end);
        folder += kPathSeparator;
        relative.remove_prefix(end == std::string_view::npos ? relative.size() : end + 1);
    }
    return folder;
}

AppLocations SettleAppLocations(const std::string& programFolder,
                                const std::string& installedPagesFolder,
                                const std::string& userConfigFolder, std::string siteHost) {
    AppLocations locations;
    locations.exeFolder = programFolder;
    locations.helpFolder =
        IsPortableProgramFolder(programFolder) ? programFolder : installedPagesFolder;
    // No user folder known (no home): the rule falls back to the program's.
    locations.configPath = SettingsFilePath(programFolder, userConfigFolder);
    locations.siteHost = std::move(siteHost);
    return locations;
}

AppLocations SettleAppLocations() {
    const std::string program = ProgramFolder();
    return SettleAppLocations(program, FolderFromProgram(program, IMGCRYPT_PAGES_FROM_PROGRAM),
                              UserConfigFolder(), IMGCRYPT_SITE_HOST);
}

}  // namespace imgcrypt
