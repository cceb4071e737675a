#include "batch/dropped_files.h"

#include "runtime/errors.h"
#include "runtime/paths.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

std::vector<std::string> DroppedSelection(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        // The file layer's test: a UTF-8 name is a UTF-8 name on Windows too.
        if (FileExists(path)) files.push_back(AbsolutePath(path));
    }
    for (const std::string& file : files) {
        if (PathFolder(file) != PathFolder(files.front())) return {};
    }
    return files;
}

}  // namespace imgcrypt
