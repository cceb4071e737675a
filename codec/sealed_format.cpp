#include "codec/sealed_format.h"

#include <algorithm>

#include "codec/base64.h"
#include "codec/sealed_errors.h"

namespace imgcrypt {
namespace {

// Header offsets.
constexpr std::size_t kVersionAt = 0;
constexpr std::size_t kKdfAt = 1;
constexpr std::size_t kAeadAt = 2;
constexpr std::size_t kChunkAt = 3;
constexpr std::size_t kTAt = 4;
constexpr std::size_t kMAt = 8;
constexpr std::size_t kPAt = 12;
constexpr std::size_t kSaltAt = 16;
constexpr std::size_t kNonceAt = kSaltAt + kSealedSaltSize;
static_assert(kNonceAt + kFileNonceSize == kSealedHeaderSize);

void PutBigEndian32(std::uint8_t* at, std::uint32_t value) noexcept {
    for (int i = 3; i >= 0; --i) {
        at[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

std::uint32_t BigEndian32(const std::uint8_t* at) noexcept {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | at[i];
    return value;
}

std::string Named(std::string_view what, std::uint32_t value) {
    return std::string(what) + std::to_string(value);
}

}  // namespace

SealedHeaderBytes EncodeSealedHeader(const SealedHeader& header) {
    SealedHeaderBytes bytes{};
    bytes[kVersionAt] = kSealedVersion;
    bytes[kKdfAt] = kSealedKdfArgon2id;
    bytes[kAeadAt] = kSealedAeadChaCha20Poly1305;
    bytes[kChunkAt] = kSealedChunkExponent;
    PutBigEndian32(&bytes[kTAt], header.cost.t);
    PutBigEndian32(&bytes[kMAt], header.cost.m);
    PutBigEndian32(&bytes[kPAt], header.cost.p);
    std::copy(header.salt.begin(), header.salt.end(), &bytes[kSaltAt]);
    std::copy(header.fileNonce.begin(), header.fileNonce.end(), &bytes[kNonceAt]);
    return bytes;
}

SealedHeader ParseSealedHeader(std::span<const std::uint8_t, kSealedHeaderSize> bytes,
                               std::string_view path) {
    const auto refuse = [&](const std::string& detail) {
        throw EUnsupportedContainer(path, detail);
    };
    if (bytes[kVersionAt] != kSealedVersion) refuse(Named("format version ", bytes[kVersionAt]));
    if (bytes[kKdfAt] != kSealedKdfArgon2id) refuse(Named("key derivation ", bytes[kKdfAt]));
    if (bytes[kAeadAt] != kSealedAeadChaCha20Poly1305) refuse(Named("cipher ", bytes[kAeadAt]));
    if (bytes[kChunkAt] != kSealedChunkExponent) refuse(Named("chunk size 2^", bytes[kChunkAt]));
    SealedHeader header;
    header.cost = {BigEndian32(&bytes[kTAt]), BigEndian32(&bytes[kMAt]), BigEndian32(&bytes[kPAt])};
    const crypto::Argon2Cost& cost = header.cost;
    if (cost.t < 1 || cost.t > kSealedMaxT) refuse(Named("t = ", cost.t));
    if (cost.p < 1 || cost.p > kSealedMaxP) refuse(Named("p = ", cost.p));
    if (cost.m < 8 * cost.p || cost.m > kSealedMaxM) refuse(Named("m = ", cost.m) + " KiB");
    std::copy_n(&bytes[kSaltAt], kSealedSaltSize, header.salt.begin());
    std::copy_n(&bytes[kNonceAt], kFileNonceSize, header.fileNonce.begin());
    return header;
}

std::uint64_t SealedContainerSize(std::uint64_t sourceSize) noexcept {
    const std::uint64_t chunks = sourceSize == 0 ? 1 : (sourceSize - 1) / kSealedChunkSize + 1;
    const std::uint64_t payload = kSealedHeaderSize + crypto::kTagSize + sourceSize +
                                  chunks * crypto::kTagSize;
    const std::uint64_t text = (payload + 2) / 3 * 4;
    const std::uint64_t lines = (text + kBase64LineLength - 1) / kBase64LineLength;
    return kSealedFirstLine.size() + 2 + text + 2 * lines + kSealedLastLine.size() + 2;
}

crypto::Nonce SealedChunkNonce(std::uint64_t index, bool last) noexcept {
    crypto::Nonce nonce{};
    // Bytes 0..10 hold the index big-endian; an index has at most 8 bytes.
    for (std::size_t i = 10; index != 0; --i) {
        nonce[i] = static_cast<std::uint8_t>(index & 0xFF);
        index >>= 8;
    }
    nonce[11] = last ? 1 : 0;
    return nonce;
}

}  // namespace imgcrypt
