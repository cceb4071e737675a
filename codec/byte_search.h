// Block-wise search for one or two byte values, shared by the container
// writer and reader. Internal to codec/.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace imgcrypt::detail {

// Block-wise search (16 bytes with SSE2, else 8 per word): '/' and '\\' are
// about one byte in 64 of a payload and line breaks one in 39, too dense
// for a library call per hit.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Marks the bytes of `w` equal to c. The lowest mark is always exact (only
// marks above a true match can be spurious), which is all the search uses.
inline std::uint64_t MatchMask(std::uint64_t w, char c) noexcept {
    const std::uint64_t x = w ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighs;
}

// First position in [from, end) holding `a` or `b`, or `end`.
inline std::size_t FindEither(const char* t, std::size_t from, std::size_t end, char a,
                              char b) noexcept {
#if defined(__SSE2__)
    // Sixteen bytes per compare where the baseline instruction set has it.
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    for (; from + 16 <= end; from += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from));
        const int m = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)));
        if (m != 0)
            return from + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(m)));
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        for (; from + 8 <= end; from += 8) {
            std::uint64_t w;
            std::memcpy(&w, t + from, 8);
            if (const std::uint64_t m = MatchMask(w, a) | MatchMask(w, b)) {
                return from + static_cast<std::size_t>(std::countr_zero(m) >> 3);
            }
        }
    }
    for (; from < end; ++from) {
        if (t[from] == a || t[from] == b) return from;
    }
    return end;
}

inline std::size_t Find(const char* t, std::size_t from, std::size_t end, char c) noexcept {
    return FindEither(t, from, end, c, c);
}

}  // namespace imgcrypt::detail
