// The container file written in pieces from a source read in chunks, through
// a few small buffers reused for the whole file. Byte for byte the same as
// MakeContainerFile, with the same generator draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "codec/container.h"

namespace imgcrypt {

// Source lines (57 bytes each) per chunk: about 117 KB in, 156 KB out, small
// enough to stay in cache, large enough that calls per chunk do not matter.
inline constexpr std::size_t kStreamChunkLines = 2048;

// Fills exactly n bytes of the source, in order, or throws.
using SourceReadFn = std::function<void(char* dst, std::size_t n)>;
// Receives the container file's bytes, in order, piece by piece.
using ContainerSinkFn = std::function<void(std::string_view piece)>;

// Streams the container file of a source of `sourceSize` bytes to `sink`.
// When reading throws, the generator is put back as if nothing had been drawn
// (the file was never encrypted); errors of the sink propagate as they are.
void StreamContainerFile(std::uint64_t sourceSize, const SourceReadFn& read,
                         std::string_view password, EncryptionClass cls,
                         const ContainerSinkFn& sink,
                         std::size_t linesPerChunk = kStreamChunkLines);

// The high-level scramble applied piece by piece: scrambling consecutive
// pieces of one text gives exactly ScrambleHighLevel of the whole text.
class HighLevelScrambler {
  public:
    explicit HighLevelScrambler(std::size_t totalLength) noexcept;

    // Scrambles the next n characters in place; they are final afterwards.
    // `next` is the original character after them (ignored after the last
    // piece): a lone '/' at the end of a piece is known only by its right
    // neighbour, and its follower is lowered when the next piece comes.
    void Scramble(char* piece, std::size_t n, char next) noexcept;

  private:
    std::size_t examinedEnd_;  // positions from here on are never examined
    std::size_t shiftEnd_;     // the shift pass stops here
    std::size_t offset_ = 0;   // position of the next piece in the text
    unsigned shift_ = 1;
    bool slashBefore_ = false;  // the original character before the piece was '/'
    bool lowerFirst_ = false;   // the piece's first character follows a lone '/'
    unsigned firstShift_ = 0;   // and is lowered by this much
};

}  // namespace imgcrypt
