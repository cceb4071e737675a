// The parts of the file layer that are the same on every platform.
#include <algorithm>
#include <limits>

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

ErrorCode ReadExactly(const FileHandle& file, char* dst, std::size_t n) {
    while (n > 0) {
        std::size_t got = 0;
        if (const ErrorCode err = ReadSome(file, dst, n, got); err != 0) return err;
        if (got == 0) return kErrorFileEndedEarly;
        dst += got;
        n -= got;
    }
    return 0;
}

ErrorCode ReadToEnd(const FileHandle& file, std::string& out) {
    constexpr std::size_t kChunk = 64 * 1024;
    // A size no buffer can hold (a 32-bit program) fails in resize, not by wrapping.
    const auto expected = static_cast<std::size_t>(
        std::min<std::uint64_t>(RemainingBytes(file), std::numeric_limits<std::size_t>::max() / 2));
    const std::size_t start = out.size();
    std::size_t filled = start;
    // One extra byte tells at once whether the file grew since its size was taken.
    out.resize(start + expected + 1);
    for (;;) {
        if (filled == out.size()) out.resize(out.size() + kChunk);
        std::size_t got = 0;
        if (const ErrorCode err = ReadSome(file, out.data() + filled, out.size() - filled, got);
            err != 0) {
            out.resize(start);
            return err;
        }
        if (got == 0) break;
        filled += got;
    }
    out.resize(filled);
    return 0;
}

}  // namespace imgcrypt::platform
