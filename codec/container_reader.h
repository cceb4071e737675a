// The container readers, streamed: the file's first and last bytes are read
// first (password block, class marker, the payload's head in the trailer),
// then the body in between, piece by piece, into an output. Memory stays a
// few hundred KiB whatever the file's size.
//
// The two readers see different texts in the same bytes. The probe works on
// the bytes before the first NUL with CR and LF removed; the decoder on the
// bytes before the first byte 26 with CR and LF removed. Either end is
// known only once the whole file has been read, so the first look assumes
// the file has neither in its unread middle, and the decoding, which reads
// that middle anyway, checks it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "codec/container.h"

namespace imgcrypt {

// Where a container's bytes come from: `size` bytes, any of which
// `readAt(offset, dst, n)` fills (offset + n <= size) or raises.
struct ContainerSource {
    std::uint64_t size = 0;
    std::function<void(std::uint64_t offset, char* dst, std::size_t n)> readAt;
};

// Where decoded bytes go, in order.
class DecodedOutput {
  public:
    // Before the first Put: the number of bytes a container made by the
    // writer decodes to (a damaged one may give another number).
    virtual void Expect(std::uint64_t /*size*/) {}
    virtual void Put(std::string_view bytes) = 0;
    // Forgets everything put so far: the decoding begins again.
    virtual void StartOver() = 0;

  protected:
    ~DecodedOutput() = default;
};

class ContainerReader {
  public:
    // Reads the first and the last few KiB.
    explicit ContainerReader(ContainerSource source);

    // The file's first bytes as read at once: 4 KiB, or all of a small file.
    std::string_view FirstBytes() const noexcept { return front_; }

    // What the probe answers for these bytes. Final, unless the middle of
    // the file is still unread and its ends hold no NUL and no byte 26:
    // the answer then stands only if the middle holds neither either.
    ProbeResult Probe(std::string_view typedPassword);
    bool ProbeIsFinal() const noexcept { return probeEnd_ != kUnknown; }

    // The probe's answer, reading the middle of the file where that is needed.
    ProbeResult FinalProbe(std::string_view typedPassword);

    // Puts the source bytes of the container into `out`. Returns false,
    // having started `out` over, when a Probe answer that was not final
    // turned out to rest on a wrong guess (the middle held a NUL or byte 26):
    // FinalProbe then gives the answer, and Decode may be called again.
    bool Decode(DecodedOutput& out);

  private:
    static constexpr std::uint64_t kUnknown = ~std::uint64_t{0};

    // Where the decoder's text lies in the file: the password block before
    // `bodyStart`, the trailer (or, for a short text, the rest) from
    // `trailerStart` to `textEnd`.
    struct Layout {
        std::uint64_t textEnd = 0;
        std::uint64_t bodyStart = 0;
        std::uint64_t trailerStart = 0;
        std::string block;    // up to 20 characters
        std::string trailer;  // up to 28 characters
    };

    void Read(std::uint64_t offset, char* dst, std::size_t n);
    std::string TextFrom(std::uint64_t from, std::uint64_t to, std::size_t want,
                         std::uint64_t& next);
    std::string TextBefore(std::uint64_t to, std::uint64_t from, std::size_t want,
                           std::uint64_t& first);
    std::uint64_t Find(std::uint64_t from, std::uint64_t to, char c);
    ProbeResult ProbeUpTo(std::uint64_t end, std::string_view typedPassword);
    bool EndsArePlain() const noexcept;
    Layout Locate(std::uint64_t textEnd);
    std::uint64_t ExpectedSize(const Layout& layout, bool high);
    bool DecodeBody(const Layout& layout, bool checking, DecodedOutput& out, std::uint64_t& stop);

    ContainerSource source_;
    std::string front_;  // the file's first bytes
    std::string back_;   // its last bytes, after front_
    std::uint64_t backStart_ = 0;
    std::uint64_t probeEnd_ = kUnknown;  // the first NUL, or the size; kUnknown until known
    bool guessed_ = false;               // a Probe answer rests on the guess
};

}  // namespace imgcrypt
