// The keys of sealed containers. A run derives its key from the password
// once (Argon2id, the slow, memory-hard step) and every file still gets
// keys of its own from its random file nonce (HKDF-SHA256):
//
//   KEK  = Argon2id(password, salt, t, m, p), 32 bytes
//   OKM  = HKDF-SHA256(IKM = KEK, salt = file nonce, info = "imgcrypt sealed v1"), 64 bytes
//   header key = OKM[0..31], data key = OKM[32..63]
//
// Every key and password here lives in wiping buffers.
#pragma once

#include <cstddef>
#include <deque>
#include <string_view>

#include "codec/crypto.h"
#include "codec/sealed_format.h"
#include "codec/secret_bytes.h"

namespace imgcrypt {

// One run's key for writing: one salt, one derivation, for every file.
class SealingKey {
  public:
    // Draws the salt from the strong random generator and derives the key
    // (about 0.1 to 1 s). Raises EKeyDerivationMemory.
    explicit SealingKey(std::string_view password,
                        const crypto::Argon2Cost& cost = kSealedDefaultCost);
    // With a chosen salt, for known answers.
    SealingKey(std::string_view password, const SealedSalt& salt, const crypto::Argon2Cost& cost);

    const SealedSalt& salt() const noexcept { return salt_; }
    const crypto::Argon2Cost& cost() const noexcept { return cost_; }
    const crypto::Key& kek() const noexcept { return kek_; }

  private:
    SealedSalt salt_{};
    crypto::Argon2Cost cost_;
    crypto::Key kek_;
};

// One run's keys for reading: the password, and the key of each (salt, t,
// m, p) met, derived once, so a batch sealed in one run costs one
// derivation to open.
class OpeningKeys {
  public:
    explicit OpeningKeys(std::string_view password);

    // The key for this header's salt and cost, derived on first use.
    // Raises EKeyDerivationMemory.
    const crypto::Key& KekFor(const SealedHeader& header);

    // Whether KekFor(header) would return at once, without a derivation.
    bool HasKeyFor(const SealedHeader& header) const noexcept;

    // How many derivations ran so far.
    std::size_t derivations() const noexcept { return cache_.size(); }

  private:
    struct Entry {
        SealedSalt salt{};
        crypto::Argon2Cost cost;
        crypto::Key kek;
    };
    const Entry* Find(const SealedHeader& header) const noexcept;

    SecretBytes password_;
    std::deque<Entry> cache_;  // grows at its end only: references stay valid
};

// The keys of one file.
struct FileKeys {
    crypto::Key header;
    crypto::Key data;
};
FileKeys DeriveFileKeys(const crypto::Key& kek, const FileNonce& fileNonce);

// The header's tag: ChaCha20-Poly1305 under the header key, 12 zero bytes as
// nonce, the header as associated data, nothing encrypted.
crypto::Tag SealedHeaderTag(const crypto::Key& headerKey, const SealedHeaderBytes& header);

// Whether `tag` is the header's tag (compared in constant time).
bool SealedHeaderTagMatches(const crypto::Key& headerKey, const SealedHeaderBytes& header,
                            const crypto::Tag& tag);

}  // namespace imgcrypt
