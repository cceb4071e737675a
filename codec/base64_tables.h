// The base64 alphabet and the decoder's view of every byte, shared by the
// codec's loops and its kernels. Internal to codec/.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace imgcrypt::detail {

inline constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// What the decoder makes of a byte: 0..63 its alphabet index, 64 the pad
// '=', kBase64Noise for everything else.
inline constexpr std::uint8_t kBase64Noise = 0xFF;
inline constexpr std::uint8_t kBase64PadIndex = 64;

struct Base64ValueTable {
    std::array<std::uint8_t, 256> value{};
    constexpr Base64ValueTable() {
        for (auto& v : value) v = kBase64Noise;
        for (unsigned i = 0; i < 64; ++i) value[static_cast<unsigned char>(kBase64Alphabet[i])] = i;
        value['='] = kBase64PadIndex;
    }
};
inline constexpr Base64ValueTable kBase64Values;

inline bool IsBase64Noise(unsigned char c) noexcept {
    return kBase64Values.value[c] == kBase64Noise;
}

// The position after the run of noise bytes that starts at `i` (or `i`).
inline std::size_t SkipBase64Noise(const unsigned char* in, std::size_t i, std::size_t n) noexcept {
    while (i < n && IsBase64Noise(in[i])) ++i;
    return i;
}

}  // namespace imgcrypt::detail
