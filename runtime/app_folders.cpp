#include "runtime/app_folders.h"

#include "runtime/file_system.h"
#include "runtime/paths.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

namespace {

constexpr const char* kSettingsFileName = "config.db";

// Tried rather than judged from permission bits: only a real create tells
// about ACLs, read-only media and UAC-protected program folders.
bool FolderIsWritable(const std::string& folder) {
    FileHandle probe;
    std::string probePath;
    if (platform::CreateTempBeside(folder + kSettingsFileName, probe, probePath) != 0) return false;
    probe.Close();
    (void)platform::RemoveFile(probePath);
    return true;
}

}  // namespace

std::string SettingsFilePath() {
    const std::string programFolder = ProgramFolder();
    if (!programFolder.empty() && FolderIsWritable(programFolder)) {
        return programFolder + kSettingsFileName;
    }
    const std::string configFolder = UserConfigFolder();
    if (configFolder.empty()) return programFolder + kSettingsFileName;
    // The parent may be missing on a fresh account; one level above is enough.
    CreateFolder(PathFolderTrimmed(PathFolderTrimmed(configFolder)));
    CreateFolder(PathFolderTrimmed(configFolder));
    return configFolder + kSettingsFileName;
}

}  // namespace imgcrypt
