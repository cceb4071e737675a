// The sealed container writer: a source read in chunks of 64 KiB, each
// sealed and written out as base64 lines at once, so memory stays flat
// whatever the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "codec/sealed_format.h"
#include "codec/sealed_keys.h"

namespace imgcrypt {

// Called while a file is sealed or opened, after every chunk (at least once
// per 64 KiB): `done` of the `total` bytes of the file read so far. A
// window processes its input here. Returning false stops the file: the
// operation raises ECancelled and leaves no output.
using SealedProgressFn = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Fills exactly n bytes of the source, in order, or throws.
using SealedSourceFn = std::function<void(char* dst, std::size_t n)>;
// Receives the container's bytes, in order, piece by piece.
using SealedSinkFn = std::function<void(std::string_view piece)>;

// Streams the sealed container of a source of `sourceSize` bytes, under the
// run's key and this file's nonce, to `sink`.
void StreamSealedFile(std::uint64_t sourceSize, const SealedSourceFn& read, const SealingKey& key,
                      const FileNonce& fileNonce, const SealedSinkFn& sink,
                      const SealedProgressFn& progress = {});

// The whole container in memory.
std::string MakeSealedFile(std::string_view source, const SealingKey& key,
                           const FileNonce& fileNonce);

// A fresh file nonce from the strong random generator.
FileNonce DrawFileNonce();

}  // namespace imgcrypt
