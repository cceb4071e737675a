// The sealed container, version 1: the fixed lines, the 48-byte header and
// its limits, and the nonce of each chunk. docs/container-format.md has the
// whole layout.
//
//   IMGCRYPT-SEALED-1 CR LF
//   base64 of  header (48) | header tag (16) | chunk 0 + tag | chunk 1 + tag | ...
//     in lines of 76 characters, each ended by CR LF (the last may be shorter)
//   #### CR LF
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "codec/crypto.h"

namespace imgcrypt {

inline constexpr std::string_view kSealedFirstLine = "IMGCRYPT-SEALED-1";
// What every version's first line starts with: the kind is told by this.
inline constexpr std::string_view kSealedLinePrefix = "IMGCRYPT-SEALED-";
inline constexpr std::string_view kSealedLastLine = "####";

inline constexpr std::uint8_t kSealedVersion = 0x01;
inline constexpr std::uint8_t kSealedKdfArgon2id = 0x01;
inline constexpr std::uint8_t kSealedAeadChaCha20Poly1305 = 0x01;
inline constexpr std::uint8_t kSealedChunkExponent = 0x10;

inline constexpr std::size_t kSealedHeaderSize = 48;
inline constexpr std::size_t kSealedSaltSize = 16;
inline constexpr std::size_t kFileNonceSize = 16;
inline constexpr std::size_t kSealedChunkSize = std::size_t{1} << kSealedChunkExponent;
// A chunk as stored: ciphertext, then its tag.
inline constexpr std::size_t kSealedRecordSize = kSealedChunkSize + crypto::kTagSize;
inline constexpr std::string_view kSealedKeyInfo = "imgcrypt sealed v1";

// What the writer uses, and the limits a reader accepts.
inline constexpr crypto::Argon2Cost kSealedDefaultCost{3, 65536, 1};
inline constexpr std::uint32_t kSealedMaxT = 10;
inline constexpr std::uint32_t kSealedMaxM = 262144;
inline constexpr std::uint32_t kSealedMaxP = 8;

using SealedSalt = std::array<std::uint8_t, kSealedSaltSize>;
using FileNonce = std::array<std::uint8_t, kFileNonceSize>;
using SealedHeaderBytes = std::array<std::uint8_t, kSealedHeaderSize>;

struct SealedHeader {
    crypto::Argon2Cost cost;
    SealedSalt salt{};
    FileNonce fileNonce{};
};

// Whether a file that begins with these bytes is of the sealed kind, of any
// version: the first line is all it takes.
constexpr bool StartsAsSealed(std::string_view firstBytes) noexcept {
    return firstBytes.starts_with(kSealedLinePrefix);
}

SealedHeaderBytes EncodeSealedHeader(const SealedHeader& header);

// The header of a container; raises EUnsupportedContainer naming `path` and
// what it does not know for any version, id, chunk size or cost outside
// what this version reads.
SealedHeader ParseSealedHeader(std::span<const std::uint8_t, kSealedHeaderSize> bytes,
                               std::string_view path);

// Bytes of the whole sealed container of a source of `sourceSize` bytes.
std::uint64_t SealedContainerSize(std::uint64_t sourceSize) noexcept;

// Chunk i's nonce: i as an 11-byte big-endian number, then 1 for the last
// chunk and 0 for every other.
crypto::Nonce SealedChunkNonce(std::uint64_t index, bool last) noexcept;

}  // namespace imgcrypt
