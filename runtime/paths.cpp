#include "runtime/paths.h"

namespace imgcrypt {

namespace {

// Index just past the last delimiter; 0 when there is none.
std::size_t NameStart(std::string_view path) noexcept {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathDelimiter(path[i - 1])) return i;
    }
    return 0;
}

}  // namespace

std::string PathFolder(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string PathName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string PathFolderTrimmed(std::string_view path) {
    std::size_t end = NameStart(path);
    // Keep a separator that is the first character (the root "/") or follows
    // another delimiter (the one of C:\a.jpg), and the colon of "C:a.jpg".
    if (end > 1 && IsFolderSeparator(path[end - 1]) && !IsPathDelimiter(path[end - 2])) --end;
    return std::string(path.substr(0, end));
}

}  // namespace imgcrypt
