#include "codec/base64.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace imgcrypt {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kGroupsPerLine = kBase64LineLength / 4;  // 19 groups, 57 bytes

// Two output characters for every 12-bit value, in memory order, so one
// lookup writes half a group.
struct PairTable {
    std::array<std::uint16_t, 4096> pairs{};
    constexpr PairTable() {
        for (unsigned v = 0; v < 4096; ++v) {
            const auto hi = static_cast<unsigned char>(kAlphabet[v >> 6]);
            const auto lo = static_cast<unsigned char>(kAlphabet[v & 63]);
            // Little-endian store: the first character goes to the lower byte.
            pairs[v] = static_cast<std::uint16_t>(hi | (lo << 8));
        }
    }
};
constexpr PairTable kPairs;

// Decoder classes of every byte: 0..63 alphabet index, 64 the pad '=',
// kNoise for everything else.
constexpr std::uint8_t kNoise = 0xFF;
constexpr std::uint8_t kPadIndex = 64;

struct ValueTable {
    std::array<std::uint8_t, 256> value{};
    constexpr ValueTable() {
        for (auto& v : value) v = kNoise;
        for (unsigned i = 0; i < 64; ++i) value[static_cast<unsigned char>(kAlphabet[i])] = i;
        value['='] = kPadIndex;
    }
};
constexpr ValueTable kValues;

// For the fast path: per position in a group of four, the contribution of a
// character to the three output bytes, already in memory order; any byte
// that is not an alphabet character (noise or '=') sets a bit above 24.
constexpr std::uint32_t kNotClean = 0x01000000;

struct PositionTables {
    std::array<std::array<std::uint32_t, 256>, 4> d{};
    constexpr PositionTables() {
        for (unsigned c = 0; c < 256; ++c) {
            const std::uint32_t v = kValues.value[c];
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

inline void EncodeOneGroup(const unsigned char* in, char* out) noexcept {
    const std::uint32_t v = (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
    const std::uint32_t both =
        kPairs.pairs[v >> 12] | (std::uint32_t{kPairs.pairs[v & 0xFFF]} << 16);
    std::memcpy(out, &both, 4);
}

// Encodes `groups` complete groups. `available` is the number of input bytes
// readable from `in`, which lets two groups be loaded with one 8-byte read.
inline void EncodeGroups(const unsigned char* in, std::size_t groups, std::size_t available,
                         char* out) noexcept {
    std::size_t g = 0;
    for (; g + 2 <= groups && 3 * g + 8 <= available; g += 2) {
        const std::uint64_t v = LoadBigEndian64(in + 3 * g);
        const std::uint64_t chars = std::uint64_t{kPairs.pairs[(v >> 52) & 0xFFF]} |
                                    (std::uint64_t{kPairs.pairs[(v >> 40) & 0xFFF]} << 16) |
                                    (std::uint64_t{kPairs.pairs[(v >> 28) & 0xFFF]} << 32) |
                                    (std::uint64_t{kPairs.pairs[(v >> 16) & 0xFFF]} << 48);
        std::memcpy(out + 4 * g, &chars, 8);
    }
    for (; g < groups; ++g) EncodeOneGroup(in + 3 * g, out + 4 * g);
}

// The last, short group of 1 or 2 bytes with its pad characters.
inline void EncodeTail(const unsigned char* in, std::size_t n, char* out) noexcept {
    const std::uint32_t b0 = in[0];
    const std::uint32_t b1 = n > 1 ? in[1] : 0;
    out[0] = kAlphabet[b0 >> 2];
    out[1] = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
    out[2] = n > 1 ? kAlphabet[(b1 & 0x0F) << 2] : '=';
    out[3] = '=';
}

// Emits the bytes of one group of four significant characters (indices,
// 64 standing for '='): always the first byte, the second unless the third
// character is '=', the third unless the fourth is '='. A '=' elsewhere is
// just the index 64 in the arithmetic.
inline std::size_t EmitGroup(const std::uint8_t (&idx)[4], char* out) noexcept {
    const unsigned p = idx[0], q = idx[1], r = idx[2], s = idx[3];
    std::size_t n = 0;
    out[n++] = static_cast<char>((p * 4 + q / 16) & 0xFF);
    if (r != kPadIndex) out[n++] = static_cast<char>((q * 16 + r / 4) & 0xFF);
    if (s != kPadIndex) out[n++] = static_cast<char>((r * 64 + s) & 0xFF);
    return n;
}

}  // namespace

std::size_t Base64TextSize(std::size_t n, bool withLineBreaks) noexcept {
    const std::size_t m = 4 * ((n + 2) / 3);
    return withLineBreaks ? m + 2 * (m / kBase64LineLength) : m;
}

void EncodeBase64Into(std::string_view bytes, char* out, bool withLineBreaks) noexcept {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    if (withLineBreaks) {
        constexpr std::size_t lineBytes = kGroupsPerLine * 3;
        while (left >= lineBytes) {
            EncodeGroups(in, kGroupsPerLine, left, out);
            out += kBase64LineLength;
            out[0] = '\r';
            out[1] = '\n';
            out += 2;
            in += lineBytes;
            left -= lineBytes;
        }
    }
    const std::size_t groups = left / 3;
    EncodeGroups(in, groups, left, out);
    in += 3 * groups;
    out += 4 * groups;
    left -= 3 * groups;
    if (left > 0) {
        EncodeTail(in, left, out);
        out += 4;
        // A padded group can still complete a line of 76 (55 or 56 bytes left).
        if (withLineBreaks && groups + 1 == kGroupsPerLine) {
            out[0] = '\r';
            out[1] = '\n';
        }
    }
}

std::size_t DecodeBase64Into(std::string_view text, char* out) noexcept {
    // In place, `out` trails the input: every finished group has consumed at
    // least four characters and written at most three bytes, and the fast
    // path only runs on a group boundary, so each store lands on input that
    // has already been read.
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    const auto& d = kPositions.d;
    std::size_t i = 0;
    std::size_t o = 0;
    std::uint8_t group[4];
    std::size_t have = 0;  // significant characters gathered for `group`

    while (i < n) {
        if (have == 0) {
            // Fast path: eight clean alphabet characters give six bytes (one
            // 8-byte store; its last two bytes are overwritten later or lie
            // past the result).
            while (i + 8 <= n) {
                const std::uint32_t x =
                    d[0][in[i]] | d[1][in[i + 1]] | d[2][in[i + 2]] | d[3][in[i + 3]];
                const std::uint32_t y =
                    d[0][in[i + 4]] | d[1][in[i + 5]] | d[2][in[i + 6]] | d[3][in[i + 7]];
                if ((x | y) & 0xFF000000u) break;
                const std::uint64_t six = std::uint64_t{x} | (std::uint64_t{y} << 24);
                std::memcpy(out + o, &six, 8);
                i += 8;
                o += 6;
            }
            if (i + 4 <= n) {
                const std::uint32_t x =
                    d[0][in[i]] | d[1][in[i + 1]] | d[2][in[i + 2]] | d[3][in[i + 3]];
                if (!(x & 0xFF000000u)) {
                    out[o] = static_cast<char>(x & 0xFF);
                    out[o + 1] = static_cast<char>((x >> 8) & 0xFF);
                    out[o + 2] = static_cast<char>((x >> 16) & 0xFF);
                    i += 4;
                    o += 3;
                    continue;
                }
            }
            if (i >= n) break;
        }
        // Slow path: gather significant characters across noise, one group.
        const std::uint8_t v = kValues.value[in[i++]];
        if (v == kNoise) continue;
        group[have++] = v;
        if (have == 4) {
            o += EmitGroup(group, out + o);
            have = 0;
        }
    }

    // A last group of 1 to 3 significant characters (never made by the
    // encoder): a single character carries no whole byte and gives nothing;
    // 2 or 3 characters are completed with '=' and decoded by the group rule,
    // so "QQ" gives what "QQ==" gives and "QUI" what "QUI=" gives.
    if (have >= 2) {
        for (std::size_t k = have; k < 4; ++k) group[k] = kPadIndex;
        o += EmitGroup(group, out + o);
    }
    return o;
}

std::string EncodeBase64Text(std::string_view bytes) {
    std::string text(Base64TextSize(bytes.size(), true), '\0');
    EncodeBase64Into(bytes, text.data(), true);
    return text;
}

std::string DecodeBase64Text(std::string_view text) {
    std::string bytes(text.size() / 4 * 3 + 3 + 8, '\0');
    bytes.resize(DecodeBase64Into(text, bytes.data()));
    return bytes;
}

}  // namespace imgcrypt
