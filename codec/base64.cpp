#include "codec/base64.h"

#include "codec/base64_kernels.h"
#include "codec/base64_tables.h"

namespace imgcrypt {
namespace {

using detail::kBase64Alphabet;
using detail::kBase64Noise;
using detail::kBase64PadIndex;
using detail::kBase64Values;

constexpr std::size_t kGroupsPerLine = kBase64LineLength / 4;  // 19 groups, 57 bytes

// The last, short group of 1 or 2 bytes with its pad characters.
void EncodeTail(const unsigned char* in, std::size_t n, char* out) noexcept {
    const std::uint32_t b0 = in[0];
    const std::uint32_t b1 = n > 1 ? in[1] : 0;
    out[0] = kBase64Alphabet[b0 >> 2];
    out[1] = kBase64Alphabet[((b0 & 3) << 4) | (b1 >> 4)];
    out[2] = n > 1 ? kBase64Alphabet[(b1 & 0x0F) << 2] : '=';
    out[3] = '=';
}

// Emits the bytes of one group of four significant characters (indices,
// 64 standing for '='): always the first byte, the second unless the third
// character is '=', the third unless the fourth is '='. A '=' elsewhere is
// just the index 64 in the arithmetic.
std::size_t EmitGroup(const std::uint8_t (&idx)[4], char* out) noexcept {
    const unsigned p = idx[0], q = idx[1], r = idx[2], s = idx[3];
    std::size_t n = 0;
    out[n++] = static_cast<char>((p * 4 + q / 16) & 0xFF);
    if (r != kBase64PadIndex) out[n++] = static_cast<char>((q * 16 + r / 4) & 0xFF);
    if (s != kBase64PadIndex) out[n++] = static_cast<char>((r * 64 + s) & 0xFF);
    return n;
}

}  // namespace

std::size_t Base64TextSize(std::size_t n, bool withLineBreaks) noexcept {
    const std::size_t m = 4 * ((n + 2) / 3);
    return withLineBreaks ? m + 2 * (m / kBase64LineLength) : m;
}

void EncodeBase64Into(std::string_view bytes, char* out, bool withLineBreaks) noexcept {
    const auto& kernels = detail::ActiveBase64Kernels();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    if (withLineBreaks) {
        const std::size_t lines = left / detail::kBase64LineBytes;
        kernels.encodeLines(in, lines, left, out);
        in += lines * detail::kBase64LineBytes;
        left -= lines * detail::kBase64LineBytes;
        out += lines * detail::kBase64LineChars;
    }
    const std::size_t groups = left / 3;
    kernels.encodeGroups(in, groups, left, out);
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

Base64Decoder::Base64Decoder() noexcept : kernels_(&detail::ActiveBase64Kernels()) {}

Base64Decoder::Base64Decoder(const detail::Base64Kernels& kernels) noexcept
    : kernels_(&kernels) {}

std::size_t Base64Decoder::Decode(std::string_view piece, char* out) noexcept {
    // Started on a group boundary, `out` trails the input: every finished
    // group has consumed at least four characters and written at most three
    // bytes, which is what lets DecodeBase64Into work in place.
    const auto* in = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t n = piece.size();
    std::size_t i = 0;
    std::size_t o = 0;
    while (i < n) {
        if (have_ == 0) {
            // Runs of clean groups go to the kernels, line breaks between
            // them included; they stop in front of a group with noise or
            // '=' in it.
            const detail::Base64Kernels::Decoded run =
                kernels_->decodeGroups(in + i, n - i, out + o);
            i += run.used;
            o += run.written;
            if (i == n) break;
        }
        // One character at a time, gathering significant ones across noise.
        const std::uint8_t v = kBase64Values.value[in[i++]];
        if (v == kBase64Noise) continue;
        group_[have_++] = v;
        if (have_ == 4) {
            o += EmitGroup(group_, out + o);
            have_ = 0;
        }
    }
    return o;
}

std::size_t Base64Decoder::Finish(char* out) noexcept {
    // A single character carries no whole byte and gives nothing; 2 or 3
    // characters are completed with '=' and decoded by the group rule, so
    // "QQ" gives what "QQ==" gives and "QUI" what "QUI=" gives.
    std::size_t o = 0;
    if (have_ >= 2) {
        for (std::size_t k = have_; k < 4; ++k) group_[k] = kBase64PadIndex;
        o = EmitGroup(group_, out);
    }
    have_ = 0;
    return o;
}

std::size_t DecodeBase64Into(std::string_view text, char* out) noexcept {
    Base64Decoder decoder;
    const std::size_t o = decoder.Decode(text, out);
    return o + decoder.Finish(out + o);
}

}  // namespace imgcrypt
