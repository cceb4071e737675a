// The container writer: the container file written in pieces from a source
// read in chunks, through a few small buffers reused for the whole file.
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
// Draws the shift character and the fillers first. When reading throws, the
// generator is put back as if nothing had been drawn (the file was never
// encrypted); errors of the sink propagate as they are.
void StreamContainerFile(std::uint64_t sourceSize, const SourceReadFn& read,
                         std::string_view password, EncryptionClass cls,
                         const ContainerSinkFn& sink);

}  // namespace imgcrypt
