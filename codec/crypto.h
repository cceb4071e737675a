// The cryptographic primitives the sealed containers use, all from libgcrypt
// and reached only through here. Every libgcrypt call is checked: a refusal
// raises ECryptoError (EKeyDerivationMemory when Argon2 lacks memory). The
// library is initialised on first use, with its log sent nowhere, so none of
// its notes reach a user's console.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/secret_bytes.h"

struct gcry_cipher_handle;

namespace imgcrypt::crypto {

inline constexpr std::size_t kKeySize = 32;
inline constexpr std::size_t kNonceSize = 12;
inline constexpr std::size_t kTagSize = 16;
inline constexpr std::size_t kSha256Size = 32;

using Bytes = std::span<const std::uint8_t>;
using Key = SecretArray<kKeySize>;
// Exactly 12 bytes by type: libgcrypt takes other lengths with only a log
// line (a 24-byte nonce then acts as all zeros), so no other length can
// reach it from here.
using Nonce = std::array<std::uint8_t, kNonceSize>;
using Tag = std::array<std::uint8_t, kTagSize>;

// Makes sure libgcrypt is initialised (the first call does it; thread-safe).
// Raises ECryptoError when the library is older than 1.10.
void EnsureInitialised();

struct Argon2Cost {
    std::uint32_t t = 0;  // passes
    std::uint32_t m = 0;  // memory in KiB
    std::uint32_t p = 0;  // lanes
};

// Argon2id, version 0x13, tag of out.size() bytes. `secret` and
// `associatedData` may be empty.
void Argon2id(Bytes password, Bytes salt, const Argon2Cost& cost, Bytes secret,
              Bytes associatedData, std::span<std::uint8_t> out);

// HKDF-SHA256 (RFC 5869): extract with `salt`, expand with `info` to
// out.size() bytes (at most 255 * 32).
void HkdfSha256(Bytes ikm, Bytes salt, Bytes info, std::span<std::uint8_t> out);

void Sha256(Bytes data, std::span<std::uint8_t, kSha256Size> out);

// Bytes from libgcrypt's strong random generator.
void StrongRandom(std::span<std::uint8_t> out);

// ChaCha20-Poly1305 of RFC 8439 under one key, for any number of messages.
class ChaCha20Poly1305 {
  public:
    explicit ChaCha20Poly1305(std::span<const std::uint8_t, kKeySize> key);
    ~ChaCha20Poly1305();
    ChaCha20Poly1305(const ChaCha20Poly1305&) = delete;
    ChaCha20Poly1305& operator=(const ChaCha20Poly1305&) = delete;

    // Encrypts `data` in place and returns its tag.
    Tag Seal(const Nonce& nonce, Bytes associatedData, std::span<std::uint8_t> data);

    // Decrypts `data` in place when `tag` checks out; otherwise wipes it and
    // returns false.
    [[nodiscard]] bool Open(const Nonce& nonce, Bytes associatedData, std::span<std::uint8_t> data,
                            const Tag& tag);

  private:
    void Start(const Nonce& nonce, Bytes associatedData);

    gcry_cipher_handle* handle_ = nullptr;
};

}  // namespace imgcrypt::crypto
