#include "codec/container_reader.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "codec/base64.h"
#include "codec/container_layout.h"
#include "codec/high_level_scramble.h"
#include "codec/password.h"
#include "runtime/byte_search.h"
#include "runtime/read_buffer.h"

namespace imgcrypt {
namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kNul = '\0';
constexpr char kTextEnd = 26;  // Ctrl-Z: the decoder reads nothing from here on

// The ends read at once: a container's block and trailer lie in them unless
// the file is mostly line breaks.
constexpr std::size_t kEdgeBytes = 4096;
// The body goes through in pieces of this size; a file no larger is read
// whole at once.
constexpr std::size_t kPieceBytes = 256 * 1024;
// The unscrambler holds back this many characters of each piece.
constexpr std::size_t kHeldBack = 10;
// Characters of the probe's text that decide its answer: the password block
// and the trailer's tail from the shift character on.
constexpr std::size_t kProbeTail = kTrailerTail;

bool IsLineBreak(char c) noexcept {
    return c == kCR || c == kLF;
}

std::size_t TextLength(std::string_view bytes) noexcept {
    return bytes.size() -
           static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), IsLineBreak));
}

// First position of c in t[0, n), or n.
std::size_t Position(const char* t, std::size_t n, char c) noexcept {
    const void* at = std::memchr(t, c, n);
    return at == nullptr ? n : static_cast<std::size_t>(static_cast<const char*>(at) - t);
}

// Removes CR and LF in place; returns the length left. A high-class body
// has none: the library's search tells that fastest.
std::size_t RemoveLineBreaks(char* t, std::size_t n) noexcept {
    std::size_t read = std::min(Position(t, n, kCR), Position(t, n, kLF));
    std::size_t write = read;
    while (read < n) {
        ++read;
        const std::size_t stop = detail::FindAny(t, read, n, kCR, kLF);
        std::memmove(t + write, t + read, stop - read);
        write += stop - read;
        read = stop;
    }
    return write;
}

// Decodes a piece into the output, through `bytes`.
void DecodeInto(Base64Decoder& decoder, std::string_view piece, std::string& bytes,
                DecodedOutput& out) {
    out.Put(std::string_view(bytes.data(), decoder.Decode(piece, bytes.data())));
}

}  // namespace

ContainerReader::ContainerReader(ContainerSource source) : source_(std::move(source)) {
    const std::uint64_t size = source_.size;
    const bool small = size <= kPieceBytes;
    front_.resize(
        static_cast<std::size_t>(std::min<std::uint64_t>(size, small ? size : kEdgeBytes)));
    source_.readAt(0, front_.data(), front_.size());
    backStart_ =
        std::max<std::uint64_t>(front_.size(), size - std::min<std::uint64_t>(size, kEdgeBytes));
    back_.resize(static_cast<std::size_t>(size - backStart_));
    if (!back_.empty()) source_.readAt(backStart_, back_.data(), back_.size());
}

void ContainerReader::Read(std::uint64_t offset, char* dst, std::size_t n) {
    if (offset + n <= front_.size()) {
        std::memcpy(dst, front_.data() + offset, n);
    } else if (offset >= backStart_) {
        std::memcpy(dst, back_.data() + (offset - backStart_), n);
    } else {
        source_.readAt(offset, dst, n);
    }
}

std::string ContainerReader::TextFrom(std::uint64_t from, std::uint64_t to, std::size_t want,
                                      std::uint64_t& next) {
    std::string text;
    char block[kEdgeBytes];
    next = to;
    for (std::uint64_t at = from; at < to && text.size() < want;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kEdgeBytes, to - at));
        Read(at, block, n);
        for (std::size_t i = 0; i < n && text.size() < want; ++i) {
            if (IsLineBreak(block[i])) continue;
            text += block[i];
            if (text.size() == want) next = at + i + 1;
        }
        at += n;
    }
    return text;
}

std::string ContainerReader::TextBefore(std::uint64_t to, std::uint64_t from, std::size_t want,
                                        std::uint64_t& first) {
    std::string reversed;
    char block[kEdgeBytes];
    first = from;
    for (std::uint64_t end = to; end > from && reversed.size() < want;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kEdgeBytes, end - from));
        const std::uint64_t at = end - n;
        Read(at, block, n);
        for (std::size_t i = n; i > 0 && reversed.size() < want; --i) {
            if (IsLineBreak(block[i - 1])) continue;
            reversed += block[i - 1];
            if (reversed.size() == want) first = at + i - 1;
        }
        end = at;
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

std::uint64_t ContainerReader::Find(std::uint64_t from, std::uint64_t to, char c) {
    std::string piece(static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, to - from)),
                      '\0');
    for (std::uint64_t at = from; at < to;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), to - at));
        Read(at, piece.data(), n);
        if (const std::size_t p = Position(piece.data(), n, c); p < n) return at + p;
        at += n;
    }
    return to;
}

// ---- The probe ----

ProbeResult ContainerReader::ProbeUpTo(std::uint64_t end, std::string_view typedPassword) {
    // The block, then the last characters after it: what the probe looks at
    // of the whole text, which may be shorter than both.
    std::uint64_t blockEnd = 0;
    std::string text = TextFrom(0, end, kPasswordBlockLength, blockEnd);
    std::uint64_t unused = 0;
    text += TextBefore(end, blockEnd, kProbeTail, unused);
    const Recognition recognition = Recognise(text);
    ProbeResult result;
    result.isContainer = recognition.isContainer;
    result.highLevel = recognition.highLevel;
    result.passwordMatch = PasswordMatches(text, typedPassword);
    return result;
}

bool ContainerReader::EndsArePlain() const noexcept {
    const auto plain = [](std::string_view bytes, std::size_t textWanted) {
        return bytes.find(kNul) == std::string_view::npos &&
               bytes.find(kTextEnd) == std::string_view::npos && TextLength(bytes) >= textWanted;
    };
    return plain(front_, kPasswordBlockLength) && plain(back_, kTrailerLength);
}

ProbeResult ContainerReader::Probe(std::string_view typedPassword) {
    if (probeEnd_ == kUnknown) {
        // A small file was read whole into front_, leaving back_ empty.
        const bool wholeFileRead = back_.empty();
        if (const auto nul = front_.find(kNul); nul != std::string::npos) {
            probeEnd_ = nul;  // the first NUL of all
        } else if (wholeFileRead) {
            probeEnd_ = source_.size;
        } else if (!EndsArePlain()) {
            probeEnd_ = Find(0, source_.size, kNul);
        }
    }
    if (ProbeIsFinal()) return ProbeUpTo(probeEnd_, typedPassword);
    guessed_ = true;
    return ProbeUpTo(source_.size, typedPassword);
}

ProbeResult ContainerReader::FinalProbe(std::string_view typedPassword) {
    if (!ProbeIsFinal()) (void)Probe(typedPassword);
    if (!ProbeIsFinal()) probeEnd_ = Find(0, source_.size, kNul);
    return ProbeUpTo(probeEnd_, typedPassword);
}

// ---- The decoder ----

ContainerReader::Layout ContainerReader::Locate(std::uint64_t textEnd) {
    Layout layout;
    layout.textEnd = textEnd;
    layout.block = TextFrom(0, textEnd, kPasswordBlockLength, layout.bodyStart);
    if (const auto cut = Find(0, layout.bodyStart, kTextEnd); cut < layout.bodyStart) {
        layout.textEnd = cut;
        layout.block = TextFrom(0, cut, kPasswordBlockLength, layout.bodyStart);
    }
    layout.trailer =
        TextBefore(layout.textEnd, layout.bodyStart, kTrailerLength, layout.trailerStart);
    if (Find(layout.trailerStart, layout.textEnd, kTextEnd) < layout.textEnd) {
        // A byte 26 among the trailer's bytes: the text ends at the first
        // one after the block, which may lie further back.
        layout.textEnd = Find(layout.bodyStart, layout.textEnd, kTextEnd);
        layout.trailer =
            TextBefore(layout.textEnd, layout.bodyStart, kTrailerLength, layout.trailerStart);
    }
    return layout;
}

std::uint64_t ContainerReader::ExpectedSize(const Layout& layout, bool high) {
    // The payload text as the writer makes it: the head, then the body,
    // which in the standard class holds the base64 text's line breaks, CR LF
    // after every 76 characters.
    const std::uint64_t text = kHeadLength + (layout.trailerStart - layout.bodyStart);
    constexpr std::uint64_t kLine = kBase64LineLength;
    const std::uint64_t rest = text % (kLine + 2);
    if (!high && rest > kLine) return 0;
    const std::uint64_t chars = high ? text : text / (kLine + 2) * kLine + rest;
    if (chars % 4 != 0) return 0;
    // Its last two characters tell the padding.
    std::uint64_t unused = 0;
    std::string last = TextBefore(layout.trailerStart, layout.bodyStart, 2, unused);
    last = (std::string(layout.trailer.substr(0, kHeadLength)) + last);
    const std::size_t pads = last.ends_with("==") ? 2 : last.ends_with('=') ? 1 : 0;
    return chars / 4 * 3 - pads;
}

bool ContainerReader::Decode(DecodedOutput& out) {
    // A Probe answer given on a guess is checked along the way.
    const bool checking = guessed_ && !ProbeIsFinal();
    std::uint64_t textEnd = source_.size;
    for (;;) {
        const Layout layout = Locate(textEnd);
        // The probe's guess covers bytes the decoder will not read.
        if (checking && layout.textEnd != source_.size) {
            out.StartOver();
            return false;
        }
        if (layout.block.size() < kPasswordBlockLength || layout.trailer.size() < kTrailerLength) {
            // Fewer than 48 characters: held whole, decoded as they are.
            std::string text = layout.block + layout.trailer;
            const std::size_t length = GatherPayloadInPlace(text.data(), text.size());
            if (Recognise(layout.block + layout.trailer).highLevel)
                UnscrambleHighLevel(std::span<char>(text.data(), length));
            std::string bytes(Base64Decoder::MaxDecodedSize(length), '\0');
            bytes.resize(DecodeBase64Into(std::string_view(text.data(), length), bytes.data()));
            out.Put(bytes);
            return true;
        }
        std::uint64_t stop = kUnknown;
        out.Expect(ExpectedSize(layout, Recognise(layout.trailer).highLevel));
        if (DecodeBody(layout, checking, out, stop)) return true;
        out.StartOver();
        if (checking) return false;
        textEnd = stop;  // a byte 26 in the body: the text ends there
    }
}

bool ContainerReader::DecodeBody(const Layout& layout, bool checking, DecodedOutput& out,
                                 std::uint64_t& stop) {
    const std::string_view head = std::string_view(layout.trailer).substr(0, kHeadLength);
    const bool high =
        std::string_view(layout.trailer).substr(kTrailerLength - kMarkerLength) == kHighMarker;
    // Each piece is read to the same aligned place; the characters still
    // waiting for the unscrambler (at first the text head) stand right
    // before it.
    constexpr std::size_t kWaiting = ReadBuffer::kAlignment;
    static_assert(kWaiting >= kHeadLength && kWaiting >= kHeldBack);
    ReadBuffer buffer(kWaiting + kPieceBytes);
    char* const piece = buffer.data() + kWaiting;
    std::string bytes(Base64Decoder::MaxDecodedSize(kWaiting + kPieceBytes), '\0');
    Base64Decoder decoder;
    HighLevelUnscrambler unscrambler;
    std::size_t held = 0;
    if (high) {
        held = head.size();
        std::memcpy(piece - held, head.data(), held);
    } else {
        DecodeInto(decoder, head, bytes, out);
    }
    for (std::uint64_t at = layout.bodyStart;;) {
        const bool last = at == layout.trailerStart;
        std::size_t n = 0;
        if (!last) {
            n = static_cast<std::size_t>(
                std::min<std::uint64_t>(kPieceBytes, layout.trailerStart - at));
            Read(at, piece, n);
            // The text ends at a byte 26; a NUL matters only to a guessed probe.
            std::size_t odd = Position(piece, n, kTextEnd);
            if (checking) odd = std::min(odd, Position(piece, n, kNul));
            if (odd < n) {
                stop = at + odd;
                return false;
            }
            at += n;
            // Line breaks are noise to the decoder, but the unscrambler
            // counts positions in the joined text.
            if (high) n = RemoveLineBreaks(piece, n);
        }
        if (high) {
            char* const text = piece - held;
            const std::size_t length = held + n;
            const std::size_t settled = unscrambler.Unscramble(text, length, last);
            DecodeInto(decoder, std::string_view(text, settled), bytes, out);
            held = length - settled;
            std::memmove(piece - held, text + settled, held);
        } else {
            DecodeInto(decoder, std::string_view(piece, n), bytes, out);
        }
        if (last) break;
    }
    out.Put(std::string_view(bytes.data(), decoder.Finish(bytes.data())));
    return true;
}

}  // namespace imgcrypt
