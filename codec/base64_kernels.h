// The two inner loops of the base64 codec, once portably and once per
// instruction set a processor may offer, chosen when the program runs.
// Every kernel set gives the same bytes as the portable one, which is the
// reference. Internal to codec/.
#pragma once

#include <cstddef>
#include <span>

namespace imgcrypt::detail {

struct Base64Kernels {
    const char* name;  // "scalar", "ssse3", "avx2"

    // Encodes `groups` complete groups of 3 bytes into 4 characters each.
    // `available` (at least 3 * groups) bytes may be read from `in`, which
    // lets a kernel load more than it uses.
    void (*encodeGroups)(const unsigned char* in, std::size_t groups, std::size_t available,
                         char* out) noexcept;

    // Encodes `lines` lines of 57 bytes into 76 characters and CR LF each;
    // `available` (at least 57 * lines) bytes may be read from `in`.
    void (*encodeLines)(const unsigned char* in, std::size_t lines, std::size_t available,
                        char* out) noexcept;

    // Decodes groups of four alphabet characters from the start of `in` (n
    // characters), passing over bytes that are neither alphabet characters
    // nor '=' where they stand between groups (line breaks), and stops in
    // front of the first group that is incomplete or holds '=' or such a
    // byte. Writes 3 bytes per group and nothing beyond them; `out` may lie
    // at or before `in` in the same buffer.
    struct Decoded {
        std::size_t used;     // characters consumed
        std::size_t written;  // bytes written
    };
    Decoded (*decodeGroups)(const unsigned char* in, std::size_t n, char* out) noexcept;
};

// Lines of 57 bytes (19 groups) become 76 characters and CR LF.
inline constexpr std::size_t kBase64LineBytes = 57;
inline constexpr std::size_t kBase64LineChars = 78;

// encodeLines for kernels without a faster way: encodeGroups line by line.
template <auto EncodeGroups>
void EncodeLinesWith(const unsigned char* in, std::size_t lines, std::size_t available,
                     char* out) noexcept {
    for (std::size_t line = 0; line < lines; ++line) {
        EncodeGroups(in, kBase64LineBytes / 3, available, out);
        out[kBase64LineChars - 2] = '\r';
        out[kBase64LineChars - 1] = '\n';
        in += kBase64LineBytes;
        available -= kBase64LineBytes;
        out += kBase64LineChars;
    }
}

const Base64Kernels& ScalarBase64Kernels() noexcept;

// The faster kernel sets this processor runs, best first; empty where there
// are none. One implementation per processor family (base64_kernels_*.cpp).
std::span<const Base64Kernels* const> ProcessorBase64Kernels() noexcept;

// What the codec uses: the best set this processor runs. The environment
// variable IMGCRYPT_SIMD names another one ("ssse3"; "off" for the scalar
// code), for tests and for comparing them.
const Base64Kernels& ActiveBase64Kernels() noexcept;

}  // namespace imgcrypt::detail
