// Block-wise search for a few byte values, shared by the line readers and
// the container codec. Internal to runtime/ and codec/.
#pragma once

#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace imgcrypt::detail {

// Line breaks are one byte in 39 of a standard container and '/' or '\\'
// about one in 64 of a payload: too dense for a library call per hit, so the
// search looks at 16 bytes per step with SSE2, else 8 per word.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Marks the bytes of `w` equal to c. The lowest mark is always exact (only
// marks above a true match can be spurious), which is all the search uses.
inline std::uint64_t MatchMask(std::uint64_t w, char c) noexcept {
    const std::uint64_t x = w ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighs;
}

// First position in [from, end) holding one of `wanted`, or `end`.
template <std::same_as<char>... Chars>
requires(sizeof...(Chars) > 0) inline std::size_t
    FindAny(const char* t, std::size_t from, std::size_t end, Chars... wanted) noexcept {
#if defined(__SSE2__)
    for (; from + 16 <= end; from += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from));
        const __m128i hits = (_mm_cmpeq_epi8(v, _mm_set1_epi8(wanted)) | ...);
        if (const int m = _mm_movemask_epi8(hits); m != 0)
            return from + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(m)));
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        for (; from + 8 <= end; from += 8) {
            std::uint64_t w;
            std::memcpy(&w, t + from, 8);
            if (const std::uint64_t m = (MatchMask(w, wanted) | ...); m != 0)
                return from + static_cast<std::size_t>(std::countr_zero(m) >> 3);
        }
    }
    for (; from < end; ++from) {
        if (((t[from] == wanted) || ...)) return from;
    }
    return end;
}

// For loops that act on rare bytes one by one: a search per hit would
// restart its vector work each time, so they take the hits of 64 bytes at
// a time as bits. Bit k set where t[k] == c, for the 64 bytes at t.
inline std::uint64_t MatchBits64(const char* t, char c) noexcept {
#if defined(__SSE2__)
    // Written out: the compiler keeps a loop over the four quarters.
    const __m128i wanted = _mm_set1_epi8(c);
    const auto quarter = [&](int k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + 16 * k));
        return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted)))};
    };
    return quarter(0) | (quarter(1) << 16) | (quarter(2) << 32) | (quarter(3) << 48);
#else
    std::uint64_t bits = 0;
    for (int k = 0; k < 64; ++k) bits |= std::uint64_t{t[k] == c} << k;
    return bits;
#endif
}

// Bit k set where t[from + k] == c, for k < 64 and from + k < end.
inline std::uint64_t MatchBits(const char* t, std::size_t from, std::size_t end,
                               char c) noexcept {
    if (from + 64 <= end) return MatchBits64(t + from, c);
    std::uint64_t bits = 0;
    for (std::size_t k = from; k < end; ++k) bits |= std::uint64_t{t[k] == c} << (k - from);
    return bits;
}

}  // namespace imgcrypt::detail
