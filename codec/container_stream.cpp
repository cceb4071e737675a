#include "codec/container_stream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "codec/base64.h"
#include "codec/byte_search.h"
#include "codec/password.h"
#include "runtime/generator.h"

namespace imgcrypt {
namespace {

using detail::Find;

constexpr std::size_t kHeadLength = 20;
constexpr std::size_t kShiftPassMargin = 10;                      // the shift pass stops at L-10
constexpr std::size_t kBytesPerLine = kBase64LineLength / 4 * 3;  // 57

constexpr char kSlash = '/';
constexpr char kBackslash = '\\';

char DrawChar() noexcept {
    return static_cast<char>(RandomBetween(33, 126));
}

// First base64 character of a chunk that starts with `byte`.
char FirstBase64Char(char byte) noexcept {
    char text[4];
    EncodeBase64Into(std::string_view(&byte, 1), text, false);
    return text[0];
}

}  // namespace

HighLevelScrambler::HighLevelScrambler(std::size_t totalLength) noexcept
    : examinedEnd_(totalLength > 0 ? totalLength - 1 : 0),
      shiftEnd_(totalLength > kShiftPassMargin ? totalLength - kShiftPassMargin : 0) {}

void HighLevelScrambler::Scramble(char* piece, std::size_t n, char next) noexcept {
    // The one-pass scramble of the whole text, on global positions, carrying
    // across pieces the shift, whether the original character before was '/',
    // and a lowering owed to this piece's first character.
    if (n == 0) return;
    const std::size_t at = offset_;
    const char lastOriginal = piece[n - 1];
    const std::size_t end = examinedEnd_ > at ? std::min(n, examinedEnd_ - at) : 0;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t previousSlash = kNone;
    bool lowerNext = false;
    unsigned nextShift = 0;
    for (std::size_t i = Find(piece, 0, end, kSlash); i < end;) {
        // Before i: the carried flag at the piece start, else a '/' found
        // right before i and not replaced (a lowered follower never counts).
        const bool slashBefore =
            i == 0 ? slashBefore_ : previousSlash == i - 1 && piece[i - 1] == kSlash;
        const char right = i + 1 < n ? piece[i + 1] : next;
        const bool lone = !slashBefore && right != kSlash;
        previousSlash = i;
        if (!lone) {
            i = Find(piece, i + 1, end, kSlash);
            continue;
        }
        piece[i] = kBackslash;
        if (at + i < shiftEnd_) {
            if (i + 1 < n) {
                piece[i + 1] = static_cast<char>(static_cast<unsigned char>(piece[i + 1]) - shift_);
            } else {
                lowerNext = true;
                nextShift = shift_;
            }
            shift_ = static_cast<unsigned>((at + i + 1) % 5);
        }
        i = i + 2 < end ? Find(piece, i + 2, end, kSlash) : end;
    }
    // Only now: the slash rule above had to see the original first character
    // (lowering can turn it into '/').
    if (lowerFirst_)
        piece[0] = static_cast<char>(static_cast<unsigned char>(piece[0]) - firstShift_);
    lowerFirst_ = lowerNext;
    firstShift_ = nextShift;
    slashBefore_ = lastOriginal == kSlash;
    offset_ = at + n;
}

void StreamContainerFile(std::uint64_t sourceSize, const SourceReadFn& read,
                         std::string_view password, EncryptionClass cls,
                         const ContainerSinkFn& sink, std::size_t linesPerChunk) {
    const bool high = cls == EncryptionClass::High;
    // A file that could not be read was not encrypted: it keeps no draws.
    const std::uint32_t stateBefore = GeneratorState();
    const auto readSource = [&](char* dst, std::size_t n) {
        try {
            read(dst, n);
        } catch (...) {
            SetGeneratorState(stateBefore);
            throw;
        }
    };

    const std::size_t size = static_cast<std::size_t>(sourceSize);
    const std::size_t textLength = Base64TextSize(size, !high);
    if (textLength < kHeadLength) {
        // No body: the payload stands whole in place of the head.
        std::string source(size, '\0');
        readSource(source.data(), size);
        sink(MakeContainerFile(source, password, cls));
        return;
    }

    // Same draws in the same order as MakeContainerFile: shift, then fillers.
    const char shiftChar = DrawChar();
    std::array<char, 3> fillers{};
    for (char& c : fillers) c = DrawChar();
    const std::string block =
        MakePasswordBlock(password, static_cast<unsigned char>(shiftChar) % 9);

    // Whole lines per chunk, so the chunks' texts join into the file's text.
    const std::size_t chunkBytes = kBytesPerLine * std::max<std::size_t>(linesPerChunk, 1);
    // One byte more than a chunk: the next chunk's first byte is the
    // scramble's look-ahead; it moves to the front for the next round.
    std::string in(chunkBytes + 1, '\0');
    std::string out(Base64TextSize(chunkBytes, !high), '\0');
    HighLevelScrambler scrambler(textLength);
    std::string trailer;
    std::uint64_t unread = sourceSize;
    std::size_t carried = 0;
    for (bool first = true;; first = false) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkBytes + 1 - carried, unread));
        readSource(in.data() + carried, want);
        unread -= want;
        const std::size_t have = carried + want;
        const bool last = have <= chunkBytes;
        const std::size_t n = last ? have : chunkBytes;
        const std::size_t len = Base64TextSize(n, !high);
        EncodeBase64Into(std::string_view(in.data(), n), out.data(), !high);
        if (high)
            scrambler.Scramble(out.data(), len, last ? '\0' : FirstBase64Char(in[chunkBytes]));
        if (first) {
            // The head goes to the end; the block takes its place in front.
            trailer.assign(out.data(), kHeadLength);
            std::memcpy(out.data(), block.data(), kPasswordBlockLength);
        }
        sink(std::string_view(out.data(), len));
        if (last) break;
        in[0] = in[chunkBytes];
        carried = 1;
    }
    trailer += shiftChar;
    trailer.append(fillers.data(), fillers.size());
    trailer += high ? kHighMarker : kStandardMarker;
    trailer += "\r\n";
    sink(trailer);
}

}  // namespace imgcrypt
