// The parts of the file layer that are the same on every platform.
#include <algorithm>
#include <limits>

#include "runtime/file_system.h"

namespace imgcrypt::platform {

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
