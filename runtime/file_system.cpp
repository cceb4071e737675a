// The parts of the file layer that are the same on every platform.
#include "runtime/file_system.h"
#include "runtime/paths.h"

namespace imgcrypt::platform {

std::string TempNameStem(const std::string& path) {
    // Beside the final name, so the rename stays within one file system. The
    // name part is cut short (never inside a UTF-8 character) so the whole
    // name stays within a name's length limit.
    constexpr std::size_t kMaxNamePart = 200;
    std::string name = PathName(path);
    if (name.size() > kMaxNamePart) {
        std::size_t end = kMaxNamePart;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
        name.resize(end);
    }
    return PathFolder(path) + "." + name + ".";
}

}  // namespace imgcrypt::platform
