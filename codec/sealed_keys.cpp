#include "codec/sealed_keys.h"

#include <algorithm>

namespace imgcrypt {
namespace {

crypto::Bytes AsBytes(std::string_view text) noexcept {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void DeriveKek(crypto::Bytes password, const SealedSalt& salt, const crypto::Argon2Cost& cost,
               crypto::Key& kek) {
    crypto::Argon2id(password, salt, cost, {}, {}, kek.span());
}

bool SameCost(const crypto::Argon2Cost& a, const crypto::Argon2Cost& b) noexcept {
    return a.t == b.t && a.m == b.m && a.p == b.p;
}

}  // namespace

SealingKey::SealingKey(std::string_view password, const crypto::Argon2Cost& cost) : cost_(cost) {
    crypto::StrongRandom(salt_);
    DeriveKek(AsBytes(password), salt_, cost_, kek_);
}

SealingKey::SealingKey(std::string_view password, const SealedSalt& salt,
                       const crypto::Argon2Cost& cost)
    : salt_(salt), cost_(cost) {
    DeriveKek(AsBytes(password), salt_, cost_, kek_);
}

OpeningKeys::OpeningKeys(std::string_view password) : password_(password) {}

const OpeningKeys::Entry* OpeningKeys::Find(const SealedHeader& header) const noexcept {
    for (const Entry& entry : cache_) {
        if (entry.salt == header.salt && SameCost(entry.cost, header.cost)) return &entry;
    }
    return nullptr;
}

bool OpeningKeys::HasKeyFor(const SealedHeader& header) const noexcept {
    return Find(header) != nullptr;
}

const crypto::Key& OpeningKeys::KekFor(const SealedHeader& header) {
    if (const Entry* known = Find(header)) return known->kek;
    crypto::Key kek;
    DeriveKek(password_.span(), header.salt, header.cost, kek);
    cache_.push_back({header.salt, header.cost, kek});
    return cache_.back().kek;
}

FileKeys DeriveFileKeys(const crypto::Key& kek, const FileNonce& fileNonce) {
    SecretArray<2 * crypto::kKeySize> okm;
    crypto::HkdfSha256(kek.span(), fileNonce, AsBytes(kSealedKeyInfo), okm.span());
    FileKeys keys;
    std::copy_n(okm.data(), crypto::kKeySize, keys.header.data());
    std::copy_n(okm.data() + crypto::kKeySize, crypto::kKeySize, keys.data.data());
    return keys;
}

crypto::Tag SealedHeaderTag(const crypto::Key& headerKey, const SealedHeaderBytes& header) {
    crypto::ChaCha20Poly1305 aead(headerKey.span());
    return aead.Seal(crypto::Nonce{}, header, {});
}

bool SealedHeaderTagMatches(const crypto::Key& headerKey, const SealedHeaderBytes& header,
                            const crypto::Tag& tag) {
    crypto::ChaCha20Poly1305 aead(headerKey.span());
    return aead.Open(crypto::Nonce{}, header, {}, tag);
}

}  // namespace imgcrypt
