// The parts of the file layer that are the same on every platform.
#include <chrono>
#include <cstdint>
#include <cstdio>

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

std::string TempNameCandidate(const std::string& stem, unsigned attempt) {
    // The clock and a stack address (placed at random for each process).
    const int local = 0;
    const auto now = static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t mix =
        (now ^ (static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&local)) << 20)) *
            0x9E3779B97F4A7C15ULL +
        attempt;
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08X", static_cast<unsigned>(mix >> 32));
    return stem + suffix;
}

}  // namespace imgcrypt::platform
