#include <unistd.h>

#include <cstdlib>

#include "runtime/app_folders.h"
#include "runtime/paths.h"

namespace imgcrypt {

std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return PathFolder(path);
}

std::string UserConfigFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return std::string(configHome) + "/imgcrypt/";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    return std::string(home) + "/.config/imgcrypt/";
}

}  // namespace imgcrypt
