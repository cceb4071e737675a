#include "codec/container.h"

#include <cstring>

#include "codec/base64.h"
#include "codec/byte_search.h"
#include "codec/password.h"
#include "runtime/generator.h"

namespace imgcrypt {
namespace {

using detail::Find;
using detail::FindEither;

constexpr std::size_t kHeadLength = 20;
// Container texts shorter than this cannot hold block + head + trailer; they
// come from payloads under 20 characters, stored between block and trailer.
constexpr std::size_t kShortContainerLimit = kPasswordBlockLength + kTrailerLength;
constexpr std::size_t kShiftAndFillers = 4;
constexpr std::size_t kMarkerLength = 4;
constexpr std::size_t kShiftPassMargin = 10;  // the shift pass stops at L-10

constexpr char kSlash = '/';
constexpr char kBackslash = '\\';

std::string_view MarkerOf(EncryptionClass cls) noexcept {
    return cls == EncryptionClass::High ? kHighMarker : kStandardMarker;
}

char DrawChar() noexcept {
    return static_cast<char>(RandomBetween(33, 126));
}

// Positions below are 0-based; the rules are stated 1-based in the comments.

void ScrambleRange(char* t, std::size_t len) noexcept {
    // Two rules in one pass over the '/' of the text, as if applied one after
    // the other: the slash rule over positions 1..L-1 (a '/' with no '/' on
    // either side becomes '\'; position L is never examined), and the shift
    // pass over positions 1..L-10, lowering the follower of each '\' by the
    // scramble shift (1 at first, then the position of that '\' modulo 5).
    // Decisions use the original neighbours: a lowered follower can turn into
    // '/', so the search resumes behind it.
    if (len < 2) return;
    const std::size_t examined = len - 1;
    const std::size_t shiftEnd = len > kShiftPassMargin ? len - kShiftPassMargin : 0;
    unsigned shift = 1;
    std::size_t previousSlash = 0;
    for (std::size_t i = Find(t, 0, examined, kSlash); i < examined;) {
        // A '/' found right before i that was not replaced (so not lone).
        const bool slashBefore = i > 0 && previousSlash == i - 1 && t[previousSlash] == kSlash;
        const bool lone = !slashBefore && t[i + 1] != kSlash;
        previousSlash = i;
        if (!lone) {
            i = Find(t, i + 1, examined, kSlash);
            continue;
        }
        t[i] = kBackslash;
        if (i < shiftEnd) {
            t[i + 1] = static_cast<char>(static_cast<unsigned char>(t[i + 1]) - shift);
            shift = static_cast<unsigned>((i + 1) % 5);
        }
        // The follower was not '/', whatever it became.
        i = i + 2 < examined ? Find(t, i + 2, examined, kSlash) : examined;
    }
}

void UnscrambleRange(char* t, std::size_t len) noexcept {
    // At each '\', in order: raise its follower exactly where and by what the
    // writer lowered it (positions 1..L-10), then make it '/' again. Turning
    // it back only after raising keeps the positions the writer used.
    const std::size_t shiftEnd = len > kShiftPassMargin ? len - kShiftPassMargin : 0;
    unsigned shift = 1;
    for (std::size_t i = Find(t, 0, len, kBackslash); i < len;
         i = Find(t, i + 1, len, kBackslash)) {
        if (i < shiftEnd) {
            t[i + 1] = static_cast<char>(static_cast<unsigned char>(t[i + 1]) + shift);
            shift = static_cast<unsigned>((i + 1) % 5);
        }
        t[i] = kSlash;
    }
}

// Line-by-line reading rules applied in place: the text ends before the
// first byte 26, and every CR and LF goes.
void JoinLinesInPlace(std::string& text) {
    if (const auto eot = text.find('\x1A'); eot != std::string::npos) text.resize(eot);
    char* const t = text.data();
    const std::size_t n = text.size();
    std::size_t read = FindEither(t, 0, n, '\r', '\n');
    std::size_t write = read;
    while (read < n) {
        ++read;  // drop the CR or LF
        const std::size_t stop = FindEither(t, read, n, '\r', '\n');
        std::memmove(t + write, t + read, stop - read);
        write += stop - read;
        read = stop;
    }
    text.resize(write);
}

// Payload of a joined container text, moved to the front of the same
// buffer; returns its length.
std::size_t GatherPayloadInPlace(std::string& text) {
    const std::size_t n = text.size();
    char* const t = text.data();
    if (n < kShortContainerLimit) {
        const std::size_t end =
            n > kShiftAndFillers + kMarkerLength ? n - kShiftAndFillers - kMarkerLength : 0;
        if (end <= kPasswordBlockLength) return 0;
        std::memmove(t, t + kPasswordBlockLength, end - kPasswordBlockLength);
        return end - kPasswordBlockLength;
    }
    // The body already follows position 20; the head replaces the block.
    std::memcpy(t, t + n - kTrailerLength, kHeadLength);
    return n - kTrailerLength;
}

}  // namespace

void ScrambleHighLevel(std::string& text) noexcept {
    ScrambleRange(text.data(), text.size());
}

void UnscrambleHighLevel(std::string& text) noexcept {
    UnscrambleRange(text.data(), text.size());
}

std::string MakePayloadText(EncryptionClass cls, std::string_view base64Text) {
    std::string payload(base64Text);
    if (cls == EncryptionClass::High) {
        // Byte-identical to writing the text as a line and reading the
        // lines back joined.
        JoinLinesInPlace(payload);
        ScrambleHighLevel(payload);
    }
    return payload;
}

std::string AssembleContainer(std::string_view payload, std::string_view passwordBlock,
                              char shiftChar, EncryptionClass cls) {
    std::string container(passwordBlock);
    if (payload.size() >= kHeadLength) {
        container += payload.substr(kHeadLength);
        container += payload.substr(0, kHeadLength);
    } else {
        container += payload;
    }
    container += shiftChar;
    for (int i = 0; i < 3; ++i) container += DrawChar();
    container += MarkerOf(cls);
    return container;
}

std::string MakeContainerFile(std::string_view source, std::string_view password,
                              EncryptionClass cls) {
    const char shiftChar = DrawChar();
    const std::string block =
        MakePasswordBlock(password, static_cast<unsigned char>(shiftChar) % 9);
    const bool high = cls == EncryptionClass::High;
    // The high class stores the base64 text without its line breaks.
    const std::size_t len = Base64TextSize(source.size(), !high);
    const bool hasBody = len >= kHeadLength;
    const std::size_t payloadAt = hasBody ? 0 : kPasswordBlockLength;
    const std::size_t total = kPasswordBlockLength + len + kShiftAndFillers + kMarkerLength + 2;

    // Encode straight into the file buffer. With a body, the payload starts
    // at 0; its head is then copied behind it and the block written over it.
    std::string file(total, '\0');
    char* const f = file.data();
    EncodeBase64Into(source, f + payloadAt, !high);
    if (high) ScrambleRange(f + payloadAt, len);
    std::size_t pos = payloadAt + len;
    if (hasBody) {
        std::memcpy(f + pos, f, kHeadLength);
        pos += kHeadLength;
    }
    std::memcpy(f, block.data(), kPasswordBlockLength);
    f[pos++] = shiftChar;
    for (int i = 0; i < 3; ++i) f[pos++] = DrawChar();
    const std::string_view marker = MarkerOf(cls);
    std::memcpy(f + pos, marker.data(), kMarkerLength);
    pos += kMarkerLength;
    f[pos++] = '\r';
    f[pos++] = '\n';
    return file;
}

Recognition Recognise(std::string_view containerText) noexcept {
    Recognition r;
    if (containerText.size() < kMarkerLength) return r;
    const std::string_view marker = containerText.substr(containerText.size() - kMarkerLength);
    r.highLevel = marker == kHighMarker;
    r.isContainer = r.highLevel || marker == kStandardMarker;
    return r;
}

std::string ExtractPayload(std::string_view containerText) {
    std::string text(containerText);
    const bool high = Recognise(containerText).highLevel;
    text.resize(GatherPayloadInPlace(text));
    if (high) UnscrambleHighLevel(text);
    return text;
}

std::string DecodeContainerText(std::string containerText) {
    const bool high = Recognise(containerText).highLevel;
    const std::size_t len = GatherPayloadInPlace(containerText);
    char* const t = containerText.data();
    if (high) UnscrambleRange(t, len);
    containerText.resize(DecodeBase64Into(std::string_view(t, len), t));
    return containerText;
}

std::string DecodeContainerFile(std::string fileBytes) {
    JoinLinesInPlace(fileBytes);
    return DecodeContainerText(std::move(fileBytes));
}

}  // namespace imgcrypt
