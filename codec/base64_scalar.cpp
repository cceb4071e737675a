// The portable kernels, the reference for the others, and the choice among
// them.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "codec/base64_kernels.h"
#include "codec/base64_tables.h"

namespace imgcrypt::detail {
namespace {

// Two output characters for every 12-bit value, in memory order, so one
// lookup writes half a group.
struct PairTable {
    std::array<std::uint16_t, 4096> pairs{};
    constexpr PairTable() {
        for (unsigned v = 0; v < 4096; ++v) {
            const auto hi = static_cast<unsigned char>(kBase64Alphabet[v >> 6]);
            const auto lo = static_cast<unsigned char>(kBase64Alphabet[v & 63]);
            // Little-endian store: the first character goes to the lower byte.
            pairs[v] = static_cast<std::uint16_t>(hi | (lo << 8));
        }
    }
};
constexpr PairTable kPairs;

// Per position in a group of four, the contribution of a character to the
// three output bytes, already in memory order; any byte that is not an
// alphabet character (noise or '=') sets a bit above 24.
constexpr std::uint32_t kNotClean = 0x01000000;

struct PositionTables {
    std::array<std::array<std::uint32_t, 256>, 4> d{};
    constexpr PositionTables() {
        for (unsigned c = 0; c < 256; ++c) {
            const std::uint32_t v = kBase64Values.value[c];
            if (v >= 64) {
                for (auto& t : d) t[c] = kNotClean;
                continue;
            }
            // 24-bit group value p<<18 | q<<12 | r<<6 | s, bytes stored
            // most significant first.
            d[0][c] = v << 2;
            d[1][c] = (v >> 4) | ((v & 0x0F) << 12);
            d[2][c] = ((v >> 2) << 8) | ((v & 0x03) << 22);
            d[3][c] = v << 16;
        }
    }
};
constexpr PositionTables kPositions;

inline std::uint64_t LoadBigEndian64(const unsigned char* p) noexcept {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

void EncodeGroupsScalar(const unsigned char* in, std::size_t groups, std::size_t available,
                        char* out) noexcept {
    std::size_t g = 0;
    // Two groups from one 8-byte read where the input allows it.
    for (; g + 2 <= groups && 3 * g + 8 <= available; g += 2) {
        const std::uint64_t v = LoadBigEndian64(in + 3 * g);
        const std::uint64_t chars = std::uint64_t{kPairs.pairs[(v >> 52) & 0xFFF]} |
                                    (std::uint64_t{kPairs.pairs[(v >> 40) & 0xFFF]} << 16) |
                                    (std::uint64_t{kPairs.pairs[(v >> 28) & 0xFFF]} << 32) |
                                    (std::uint64_t{kPairs.pairs[(v >> 16) & 0xFFF]} << 48);
        std::memcpy(out + 4 * g, &chars, 8);
    }
    for (; g < groups; ++g) {
        const unsigned char* b = in + 3 * g;
        const std::uint32_t v = (std::uint32_t{b[0]} << 16) | (std::uint32_t{b[1]} << 8) | b[2];
        const std::uint32_t both =
            kPairs.pairs[v >> 12] | (std::uint32_t{kPairs.pairs[v & 0xFFF]} << 16);
        std::memcpy(out + 4 * g, &both, 4);
    }
}

std::uint32_t GroupBits(const unsigned char* c) noexcept {
    const auto& d = kPositions.d;
    return d[0][c[0]] | d[1][c[1]] | d[2][c[2]] | d[3][c[3]];
}

Base64Kernels::Decoded DecodeGroupsScalar(const unsigned char* in, std::size_t n,
                                          char* out) noexcept {
    std::size_t i = 0;
    std::size_t o = 0;
    for (;;) {
        for (; i + 8 <= n; i += 8, o += 6) {
            const std::uint32_t x = GroupBits(in + i);
            const std::uint32_t y = GroupBits(in + i + 4);
            if ((x | y) & 0xFF000000u) break;
            const std::uint64_t six = std::uint64_t{x} | (std::uint64_t{y} << 24);
            std::memcpy(out + o, &six, 6);
        }
        if (i + 4 <= n) {
            if (const std::uint32_t x = GroupBits(in + i); !(x & 0xFF000000u)) {
                out[o] = static_cast<char>(x & 0xFF);
                out[o + 1] = static_cast<char>((x >> 8) & 0xFF);
                out[o + 2] = static_cast<char>((x >> 16) & 0xFF);
                i += 4;
                o += 3;
                continue;
            }
        }
        // Noise between groups is passed over; anything else ends the run.
        if (i == n || !IsBase64Noise(in[i])) return {i, o};
        i = SkipBase64Noise(in, i, n);
    }
}

constexpr Base64Kernels kScalar{"scalar", EncodeGroupsScalar, EncodeLinesWith<EncodeGroupsScalar>,
                                 DecodeGroupsScalar};

const Base64Kernels& ChooseKernels() noexcept {
    const char* wanted = std::getenv("IMGCRYPT_SIMD");
    for (const Base64Kernels* kernels : ProcessorBase64Kernels()) {
        if (wanted == nullptr || std::string_view(wanted) == kernels->name) return *kernels;
    }
    return kScalar;
}

}  // namespace

const Base64Kernels& ScalarBase64Kernels() noexcept {
    return kScalar;
}

const Base64Kernels& ActiveBase64Kernels() noexcept {
    static const Base64Kernels& active = ChooseKernels();
    return active;
}

}  // namespace imgcrypt::detail
