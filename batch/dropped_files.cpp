#include "batch/dropped_files.h"

#include <filesystem>
#include <system_error>

#include "runtime/paths.h"

namespace imgcrypt {

std::vector<std::string> DroppedSelection(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) files.push_back(path);
    }
    for (const std::string& file : files) {
        if (PathFolder(file) != PathFolder(files.front())) return {};
    }
    return files;
}

}  // namespace imgcrypt
