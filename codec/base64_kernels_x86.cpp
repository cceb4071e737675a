// Kernels for x86 processors: SSSE3 (16 characters per step) and AVX2 (32),
// after the published lookup-and-shuffle algorithms of Wojciech Mula and
// Daniel Lemire. Each function carries its instruction set as a target
// attribute, so the rest of the program stays runnable on any x86; the
// processor is asked at run time (CPUID) which of them it has.
//
// AVX2 is built only where IMGCRYPT_BASE64_AVX2 says so (not for Windows):
// GCC there does not realign the stack for 32-byte spills (GCC bug 54412),
// so a spilled 256-bit value could fault. The SSSE3 entry points realign
// their stack on 32-bit x86, where Windows promises only 4-byte alignment.
#include <cpuid.h>
#include <immintrin.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "codec/base64_kernels.h"
#include "codec/base64_tables.h"

#if defined(__i386__)
#define IMGCRYPT_SSE_ENTRY __attribute__((target("ssse3"), force_align_arg_pointer))
#else
#define IMGCRYPT_SSE_ENTRY __attribute__((target("ssse3")))
#endif
#define IMGCRYPT_SSSE3 __attribute__((target("ssse3"), always_inline)) inline
#define IMGCRYPT_AVX2 __attribute__((target("avx2")))

namespace imgcrypt::detail {
namespace {

// ---- 16 characters at a time ----

// Encoding: each 32-bit lane gets the bytes b1 b0 b2 b1 of its group, so
// that two multiplies move the four 6-bit indices into the lane's four
// bytes; then index ranges 0-25, 26-51, 52-61, 62 and 63 each get one
// offset to their character (table entry 13 for the first, 0 for the
// second, 1 to 12 for the rest).
IMGCRYPT_SSSE3 __m128i SpreadGroups() {
    return _mm_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
}
IMGCRYPT_SSSE3 __m128i CharacterOffsets() {
    return _mm_setr_epi8('a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                         '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0);
}

// 12 bytes (the low 12 of `bytes`) into 16 characters.
IMGCRYPT_SSSE3 __m128i EncodeBlock(__m128i bytes) {
    const __m128i in = _mm_shuffle_epi8(bytes, SpreadGroups());
    const __m128i ac = _mm_mulhi_epu16(_mm_and_si128(in, _mm_set1_epi32(0x0fc0fc00)),
                                       _mm_set1_epi32(0x04000040));
    const __m128i bd = _mm_mullo_epi16(_mm_and_si128(in, _mm_set1_epi32(0x003f03f0)),
                                       _mm_set1_epi32(0x01000010));
    const __m128i indices = _mm_or_si128(ac, bd);
    const __m128i below26 = _mm_cmpgt_epi8(_mm_set1_epi8(26), indices);
    const __m128i range = _mm_or_si128(_mm_subs_epu8(indices, _mm_set1_epi8(51)),
                                       _mm_and_si128(below26, _mm_set1_epi8(13)));
    return _mm_add_epi8(_mm_shuffle_epi8(CharacterOffsets(), range), indices);
}

// Class of each character by its low and high nibble: a byte is an alphabet
// character exactly when the two table entries share no bit.
IMGCRYPT_SSSE3 __m128i LowNibbleClasses() {
    return _mm_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1A,
                         0x1B, 0x1B, 0x1B, 0x1A);
}
IMGCRYPT_SSSE3 __m128i HighNibbleClasses() {
    return _mm_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10,
                         0x10, 0x10, 0x10, 0x10);
}
// Added to a character to give its index, by high nibble ('/' one below).
IMGCRYPT_SSSE3 __m128i Rolls() {
    return _mm_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
}

// The indices of 16 characters; returns a bit per character that is not an
// alphabet character.
IMGCRYPT_SSSE3 unsigned Classify(__m128i chars, __m128i& indices) {
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i hi = _mm_and_si128(_mm_srli_epi32(chars, 4), nibble);
    const __m128i lo = _mm_and_si128(chars, nibble);
    const __m128i clash = _mm_and_si128(_mm_shuffle_epi8(LowNibbleClasses(), lo),
                                        _mm_shuffle_epi8(HighNibbleClasses(), hi));
    const __m128i slash = _mm_cmpeq_epi8(chars, _mm_set1_epi8('/'));
    indices = _mm_add_epi8(chars, _mm_shuffle_epi8(Rolls(), _mm_add_epi8(slash, hi)));
    const int clean = _mm_movemask_epi8(_mm_cmpeq_epi8(clash, _mm_setzero_si128()));
    return ~static_cast<unsigned>(clean) & 0xFFFFu;
}

// The three bytes of each 32-bit lane's group, most significant first.
IMGCRYPT_SSSE3 __m128i GatherBytes() {
    return _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
}

// Four groups of indices into their 12 bytes, in the low 12 of the result.
IMGCRYPT_SSSE3 __m128i PackGroups(__m128i indices) {
    const __m128i pairs = _mm_maddubs_epi16(indices, _mm_set1_epi32(0x01400140));
    const __m128i groups = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00011000));
    return _mm_shuffle_epi8(groups, GatherBytes());
}

IMGCRYPT_SSSE3 void Store12(char* out, __m128i bytes) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), bytes);
    const auto last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 8)));
    std::memcpy(out + 8, &last, 4);
}

// Shuffles that move the first 3 * g bytes of a vector to its end, g = 0..5,
// leaving 0x80 (zero after the shuffle) in front of them.
struct TailShuffles {
    std::array<std::array<std::int8_t, 16>, 6> masks{};
    constexpr TailShuffles() {
        for (int g = 0; g < 6; ++g) {
            for (int k = 0; k < 16; ++k) {
                const int from = k - (16 - 3 * g);
                masks[g][k] = static_cast<std::int8_t>(from >= 0 ? from : -128);
            }
        }
    }
};
constexpr TailShuffles kTailShuffles;

// The groups of a block before its first character that is not clean
// (`dirty`), from the block's decoded bytes, with `o` bytes already written
// at `out`. Usually the end of a line: one 16-byte store that ends where
// the new bytes end and writes the bytes before them again, unchanged.
IMGCRYPT_SSSE3 std::size_t StoreCleanGroups(__m128i bytes, unsigned dirty, char* out,
                                            std::size_t o) {
    const auto groups = static_cast<std::size_t>(std::countr_zero(dirty)) / 4;
    if (groups <= 5 && o + 3 * groups >= 16) {
        const __m128i mask =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(kTailShuffles.masks[groups].data()));
        char* const at = out + o + 3 * groups - 16;
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i kept = _mm_and_si128(before, _mm_cmplt_epi8(mask, _mm_setzero_si128()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at),
                         _mm_or_si128(kept, _mm_shuffle_epi8(bytes, mask)));
    } else {
        alignas(16) char block[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(block), bytes);
        std::memcpy(out + o, block, 3 * groups);
    }
    return groups;
}

IMGCRYPT_SSE_ENTRY void EncodeGroupsSsse3(const unsigned char* in, std::size_t groups,
                                          std::size_t available, char* out) noexcept {
    std::size_t g = 0;
    for (; g + 4 <= groups && 3 * g + 16 <= available; g += 4) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * g));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * g), EncodeBlock(bytes));
    }
    // The last groups again with the ones before them, when the input
    // reaches far enough: the characters written twice are the same.
    if (g < groups && g >= 4 && 3 * (groups - 4) + 16 <= available) {
        g = groups - 4;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * g));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * g), EncodeBlock(bytes));
        return;
    }
    ScalarBase64Kernels().encodeGroups(in + 3 * g, groups - g, available - 3 * g, out + 4 * g);
}

// The body lines of a standard container: 76 characters, then CR LF.
constexpr std::size_t kLine = 76;

bool IsLineEnd(const unsigned char* in, std::size_t i, std::size_t n) {
    return i + kLine + 2 <= n && in[i + kLine] == '\r' && in[i + kLine + 1] == '\n';
}

// A body line in one go: characters 0-15, ..., 48-63 and 60-75 (the
// overlap writes 3 bytes twice). Loads everything before it stores, and
// stores nothing unless the line is clean, so it may work in place.
IMGCRYPT_SSSE3 bool DecodeLineSsse3(const unsigned char* in, char* out) {
    __m128i indices[5];
    unsigned dirty = 0;
    for (int k = 0; k < 5; ++k) {
        const auto* at = in + (k < 4 ? 16 * k : 60);
        dirty |= Classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), indices[k]);
    }
    if (dirty != 0) return false;
    for (int k = 0; k < 5; ++k) Store12(out + (k < 4 ? 12 * k : 45), PackGroups(indices[k]));
    return true;
}

IMGCRYPT_SSE_ENTRY Base64Kernels::Decoded DecodeGroupsSsse3(const unsigned char* in,
                                                            std::size_t n, char* out) noexcept {
    std::size_t i = 0;
    std::size_t o = 0;
    while (i + 16 <= n) {
        if (IsLineEnd(in, i, n) && DecodeLineSsse3(in + i, out + o)) {
            i += kLine + 2;
            o += kLine / 4 * 3;
            continue;
        }
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i indices;
        if (const unsigned dirty = Classify(chars, indices); dirty != 0) {
            const std::size_t groups = StoreCleanGroups(PackGroups(indices), dirty, out, o);
            i += 4 * groups;
            o += 3 * groups;
            // Noise between groups (a line break) is passed over.
            if (!IsBase64Noise(in[i])) return {i, o};
            i = SkipBase64Noise(in, i, n);
            continue;
        }
        Store12(out + o, PackGroups(indices));
        i += 16;
        o += 12;
    }
    const Base64Kernels::Decoded rest = ScalarBase64Kernels().decodeGroups(in + i, n - i, out + o);
    return {i + rest.used, o + rest.written};
}

// A line in one go: groups 0-15 in four blocks, then 15-18 (the overlap
// writes one group twice), when the input reaches 4 bytes past the line.
IMGCRYPT_SSE_ENTRY void EncodeLinesSsse3(const unsigned char* in, std::size_t lines,
                                         std::size_t available, char* out) noexcept {
    for (std::size_t line = 0; line < lines; ++line) {
        if (available < 3 * 15 + 16) {
            EncodeLinesWith<EncodeGroupsSsse3>(in, lines - line, available, out);
            return;
        }
        for (std::size_t g : {0u, 4u, 8u, 12u, 15u}) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * g));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * g), EncodeBlock(bytes));
        }
        out[kBase64LineChars - 2] = '\r';
        out[kBase64LineChars - 1] = '\n';
        in += kBase64LineBytes;
        available -= kBase64LineBytes;
        out += kBase64LineChars;
    }
}

constexpr Base64Kernels kSsse3{"ssse3", EncodeGroupsSsse3, EncodeLinesSsse3, DecodeGroupsSsse3};

#if IMGCRYPT_BASE64_AVX2

// ---- 32 characters at a time: the same steps in both 128-bit lanes ----

#define IMGCRYPT_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

// The same 16 bytes in both lanes.
IMGCRYPT_AVX2_INLINE __m256i Twice(__m128i lane) {
    return _mm256_broadcastsi128_si256(lane);
}

// Groups at..at+3 go through the low lane, at+4..at+7 through the high one,
// as EncodeBlock does it.
IMGCRYPT_AVX2_INLINE void EncodeEightGroups(const unsigned char* in, std::size_t at, char* out) {
    const auto* src = in + 3 * at;
    const __m256i bytes = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 12)), 1);
    const __m256i lanes = _mm256_shuffle_epi8(bytes, Twice(SpreadGroups()));
    const __m256i ac = _mm256_mulhi_epu16(_mm256_and_si256(lanes, _mm256_set1_epi32(0x0fc0fc00)),
                                          _mm256_set1_epi32(0x04000040));
    const __m256i bd = _mm256_mullo_epi16(_mm256_and_si256(lanes, _mm256_set1_epi32(0x003f03f0)),
                                          _mm256_set1_epi32(0x01000010));
    const __m256i indices = _mm256_or_si256(ac, bd);
    const __m256i below26 = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), indices);
    const __m256i range = _mm256_or_si256(_mm256_subs_epu8(indices, _mm256_set1_epi8(51)),
                                          _mm256_and_si256(below26, _mm256_set1_epi8(13)));
    const __m256i chars =
        _mm256_add_epi8(_mm256_shuffle_epi8(Twice(CharacterOffsets()), range), indices);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * at), chars);
}

IMGCRYPT_AVX2 void EncodeGroupsAvx2(const unsigned char* in, std::size_t groups,
                                    std::size_t available, char* out) noexcept {
    std::size_t g = 0;
    for (; g + 8 <= groups && 3 * g + 28 <= available; g += 8) EncodeEightGroups(in, g, out);
    if (g < groups && g >= 8 && 3 * (groups - 8) + 28 <= available) {
        EncodeEightGroups(in, groups - 8, out);
        return;
    }
    EncodeGroupsSsse3(in + 3 * g, groups - g, available - 3 * g, out + 4 * g);
}

// 32 characters into their 24 bytes (the low 24 of `bytes`); returns a bit
// per character that is not an alphabet character.
IMGCRYPT_AVX2_INLINE std::uint32_t DecodeThirtyTwo(const unsigned char* in, __m256i& bytes) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i chars = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    const __m256i hi = _mm256_and_si256(_mm256_srli_epi32(chars, 4), nibble);
    const __m256i lo = _mm256_and_si256(chars, nibble);
    const __m256i clash = _mm256_and_si256(_mm256_shuffle_epi8(Twice(LowNibbleClasses()), lo),
                                           _mm256_shuffle_epi8(Twice(HighNibbleClasses()), hi));
    const __m256i slash = _mm256_cmpeq_epi8(chars, _mm256_set1_epi8('/'));
    const __m256i indices =
        _mm256_add_epi8(chars, _mm256_shuffle_epi8(Twice(Rolls()), _mm256_add_epi8(slash, hi)));
    const __m256i pairs = _mm256_maddubs_epi16(indices, _mm256_set1_epi32(0x01400140));
    const __m256i groups = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    // 12 bytes in each lane, then the two runs side by side.
    bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(groups, Twice(GatherBytes())),
                                        _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    return ~static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(clash, _mm256_setzero_si256())));
}

IMGCRYPT_AVX2_INLINE void Store24(char* out, __m256i bytes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
}

// A standard container's body line, 76 clean characters and CR LF, in one
// go: characters 0-31, 32-63 and 60-75 (the overlap writes 3 bytes twice).
// Loads everything before it stores, and stores nothing unless the line is
// clean, so it may work in place.
IMGCRYPT_AVX2_INLINE bool DecodeLine(const unsigned char* in, char* out) {
    __m256i first;
    __m256i second;
    __m128i lastIndices;
    const std::uint32_t dirty = DecodeThirtyTwo(in, first) | DecodeThirtyTwo(in + 32, second) |
                                Classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 60)),
                                         lastIndices);
    if (dirty != 0) return false;
    Store24(out, first);
    Store24(out + 24, second);
    Store12(out + 45, PackGroups(lastIndices));
    return true;
}

IMGCRYPT_AVX2 Base64Kernels::Decoded DecodeGroupsAvx2(const unsigned char* in, std::size_t n,
                                                      char* out) noexcept {
    std::size_t i = 0;
    std::size_t o = 0;
    while (i + 32 <= n) {
        if (IsLineEnd(in, i, n) && DecodeLine(in + i, out + o)) {
            i += kLine + 2;
            o += kLine / 4 * 3;
            continue;
        }
        __m256i bytes;
        if (const std::uint32_t dirty = DecodeThirtyTwo(in + i, bytes); dirty != 0) {
            std::size_t groups = 0;
            if ((dirty & 0xFFFFu) == 0) {
                // The first half is clean: its 12 bytes, then the second's.
                Store12(out + o, _mm256_castsi256_si128(bytes));
                groups = 4 + StoreCleanGroups(_mm256_castsi256_si128(_mm256_permutevar8x32_epi32(
                                                  bytes, _mm256_setr_epi32(3, 4, 5, 6, 7, 7, 7, 7))),
                                              dirty >> 16, out, o + 12);
            } else {
                groups = StoreCleanGroups(_mm256_castsi256_si128(bytes), dirty, out, o);
            }
            i += 4 * groups;
            o += 3 * groups;
            // Noise between groups (a line break) is passed over.
            if (!IsBase64Noise(in[i])) return {i, o};
            i = SkipBase64Noise(in, i, n);
            continue;
        }
        Store24(out + o, bytes);
        i += 32;
        o += 24;
    }
    const Base64Kernels::Decoded rest = DecodeGroupsSsse3(in + i, n - i, out + o);
    return {i + rest.used, o + rest.written};
}

// A line in one go: groups 0-7, 8-15 and 11-18 (the overlap writes five
// groups twice), when the input reaches 4 bytes past the line.
IMGCRYPT_AVX2 void EncodeLinesAvx2(const unsigned char* in, std::size_t lines,
                                   std::size_t available, char* out) noexcept {
    for (std::size_t line = 0; line < lines; ++line) {
        if (available < 3 * 11 + 28) {
            EncodeLinesWith<EncodeGroupsAvx2>(in, lines - line, available, out);
            return;
        }
        EncodeEightGroups(in, 0, out);
        EncodeEightGroups(in, 8, out);
        EncodeEightGroups(in, 11, out);
        out[kBase64LineChars - 2] = '\r';
        out[kBase64LineChars - 1] = '\n';
        in += kBase64LineBytes;
        available -= kBase64LineBytes;
        out += kBase64LineChars;
    }
}

constexpr Base64Kernels kAvx2{"avx2", EncodeGroupsAvx2, EncodeLinesAvx2, DecodeGroupsAvx2};

#endif  // IMGCRYPT_BASE64_AVX2

struct Usable {
    std::array<const Base64Kernels*, 2> sets{};
    std::size_t count = 0;
};

// Asked of the processor directly, with the fewest CPUID calls: each one
// traps to the hypervisor in a virtual machine, and the compiler's own
// detection, run at every start, makes a dozen.
Usable Detect() noexcept {
    Usable usable;
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return usable;
#if IMGCRYPT_BASE64_AVX2
    // The system must also save the 256-bit registers: XCR0 bits 1 and 2.
    if ((c & bit_OSXSAVE) != 0 && (c & bit_AVX) != 0) {
        unsigned lo, hi;
        __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
        unsigned a7, b7, c7, d7;
        if ((lo & 6) == 6 && __get_cpuid_count(7, 0, &a7, &b7, &c7, &d7) && (b7 & bit_AVX2) != 0)
            usable.sets[usable.count++] = &kAvx2;
    }
#endif
    if ((c & bit_SSSE3) != 0) usable.sets[usable.count++] = &kSsse3;
    return usable;
}

}  // namespace

std::span<const Base64Kernels* const> ProcessorBase64Kernels() noexcept {
    static const Usable usable = Detect();
    return {usable.sets.data(), usable.count};
}

}  // namespace imgcrypt::detail
