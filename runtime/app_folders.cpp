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

// A fresh account may lack every level of the user's folder.
void CreateFolderWithParents(std::string folder) {
    while (folder.size() > 1 && IsFolderSeparator(folder.back())) folder.pop_back();
    if (folder.empty() || FolderExists(folder)) return;
    const std::string parent = PathFolderTrimmed(folder);
    if (!parent.empty() && parent != folder) CreateFolderWithParents(parent);
    CreateFolder(folder);
}

}  // namespace

bool IsPortableProgramFolder(const std::string& programFolder) {
    return !programFolder.empty() && FileExists(programFolder + std::string(kHelpPage)) &&
           !FileExists(programFolder + std::string(kUninstallerName));
}

std::string SettingsFilePath(const std::string& programFolder,
                             const std::string& userConfigFolder) {
    if (IsPortableProgramFolder(programFolder) && FolderIsWritable(programFolder)) {
        return programFolder + kSettingsFileName;
    }
    if (userConfigFolder.empty()) return programFolder + kSettingsFileName;
    CreateFolderWithParents(userConfigFolder);
    return userConfigFolder + kSettingsFileName;
}

}  // namespace imgcrypt
