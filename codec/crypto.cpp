#include "codec/crypto.h"

#include <gcrypt.h>

#include <algorithm>
#include <cstdarg>
#include <initializer_list>
#include <string>

#include "codec/sealed_errors.h"

namespace imgcrypt::crypto {
namespace {

constexpr const char* kMinimumVersion = "1.10.0";

// libgcrypt's notes (under Wine its entropy gatherer writes one about
// "diskperf") are no business of the user's console.
void DiscardLog(void*, int, const char*, va_list) {}

[[noreturn]] void Fail(const char* call, gcry_error_t err) {
    throw ECryptoError(std::string("libgcrypt ") + call + ": " + gcry_strerror(err));
}

void Check(gcry_error_t err, const char* call) {
    if (err != 0) Fail(call, err);
}

// Closes a handle however the scope is left.
template <typename Handle, void (*Close)(Handle)>
class Owned {
  public:
    Owned() = default;
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() {
        if (handle_ != nullptr) Close(handle_);
    }
    Handle* out() noexcept { return &handle_; }
    Handle get() const noexcept { return handle_; }

  private:
    Handle handle_ = nullptr;
};

using Mac = Owned<gcry_mac_hd_t, gcry_mac_close>;
using Kdf = Owned<gcry_kdf_hd_t, gcry_kdf_close>;

void HmacSha256(Bytes key, std::initializer_list<Bytes> parts,
                std::span<std::uint8_t, kSha256Size> out) {
    EnsureInitialised();
    Mac mac;
    Check(gcry_mac_open(mac.out(), GCRY_MAC_HMAC_SHA256, 0, nullptr), "gcry_mac_open");
    Check(gcry_mac_setkey(mac.get(), key.data(), key.size()), "gcry_mac_setkey");
    for (Bytes part : parts) {
        Check(gcry_mac_write(mac.get(), part.data(), part.size()), "gcry_mac_write");
    }
    std::size_t length = out.size();
    Check(gcry_mac_read(mac.get(), out.data(), &length), "gcry_mac_read");
    if (length != out.size()) throw ECryptoError("libgcrypt gcry_mac_read: short HMAC");
}

}  // namespace

void EnsureInitialised() {
    static const bool initialised = [] {
        gcry_set_log_handler(DiscardLog, nullptr);
        if (gcry_check_version(kMinimumVersion) == nullptr) {
            throw ECryptoError(std::string("libgcrypt ") + kMinimumVersion +
                               " or later is needed, found " + gcry_check_version(nullptr));
        }
        // Secrets live in our own wiping buffers (secret_bytes.h); the
        // library's locked pool would need privileges a desktop user lacks.
        Check(gcry_control(GCRYCTL_DISABLE_SECMEM, 0), "GCRYCTL_DISABLE_SECMEM");
        Check(gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0), "GCRYCTL_INITIALIZATION_FINISHED");
        return true;
    }();
    (void)initialised;
}

void Argon2id(Bytes password, Bytes salt, const Argon2Cost& cost, Bytes secret,
              Bytes associatedData, std::span<std::uint8_t> out) {
    EnsureInitialised();
    // unsigned long is 32 bits on Windows: every value here fits.
    const unsigned long params[4] = {static_cast<unsigned long>(out.size()), cost.t, cost.m,
                                     cost.p};
    const auto check = [&](gcry_error_t err, const char* call) {
        if (err == 0) return;
        if (gcry_err_code(err) == GPG_ERR_ENOMEM) throw EKeyDerivationMemory(cost.m);
        Fail(call, err);
    };
    Kdf kdf;
    check(gcry_kdf_open(kdf.out(), GCRY_KDF_ARGON2, GCRY_KDF_ARGON2ID, params, 4, password.data(),
                        password.size(), salt.data(), salt.size(),
                        secret.empty() ? nullptr : secret.data(), secret.size(),
                        associatedData.empty() ? nullptr : associatedData.data(),
                        associatedData.size()),
          "gcry_kdf_open");
    check(gcry_kdf_compute(kdf.get(), nullptr), "gcry_kdf_compute");
    check(gcry_kdf_final(kdf.get(), out.size(), out.data()), "gcry_kdf_final");
}

void HkdfSha256(Bytes ikm, Bytes salt, Bytes info, std::span<std::uint8_t> out) {
    if (out.size() > 255 * kSha256Size) throw ECryptoError("HKDF-SHA256: output too long");
    // Extract; an absent salt is a block of zeros.
    const std::array<std::uint8_t, kSha256Size> zeros{};
    SecretArray<kSha256Size> prk;
    HmacSha256(salt.empty() ? Bytes(zeros) : salt, {ikm}, prk.span());
    // Expand: T(i) = HMAC(PRK, T(i-1) | info | i).
    SecretArray<kSha256Size> block;
    std::size_t done = 0;
    for (std::uint8_t i = 1; done < out.size(); ++i) {
        const std::uint8_t counter[1] = {i};
        const Bytes previous = i == 1 ? Bytes() : Bytes(block.span());
        HmacSha256(prk.span(), {previous, info, counter}, block.span());
        const std::size_t n = std::min(out.size() - done, kSha256Size);
        std::copy_n(block.data(), n, out.data() + done);
        done += n;
    }
}

void Sha256(Bytes data, std::span<std::uint8_t, kSha256Size> out) {
    EnsureInitialised();
    if (gcry_md_get_algo_dlen(GCRY_MD_SHA256) != kSha256Size) {
        throw ECryptoError("libgcrypt: SHA-256 is not available");
    }
    gcry_md_hash_buffer(GCRY_MD_SHA256, out.data(), data.data(), data.size());
}

void StrongRandom(std::span<std::uint8_t> out) {
    EnsureInitialised();
    gcry_randomize(out.data(), out.size(), GCRY_STRONG_RANDOM);
}

ChaCha20Poly1305::ChaCha20Poly1305(std::span<const std::uint8_t, kKeySize> key) {
    EnsureInitialised();
    gcry_cipher_hd_t handle = nullptr;
    Check(gcry_cipher_open(&handle, GCRY_CIPHER_CHACHA20, GCRY_CIPHER_MODE_POLY1305, 0),
          "gcry_cipher_open");
    handle_ = handle;
    try {
        Check(gcry_cipher_setkey(handle_, key.data(), key.size()), "gcry_cipher_setkey");
    } catch (...) {
        gcry_cipher_close(handle_);
        throw;
    }
}

ChaCha20Poly1305::~ChaCha20Poly1305() {
    // Closing wipes the key schedule.
    gcry_cipher_close(handle_);
}

void ChaCha20Poly1305::Start(const Nonce& nonce, Bytes associatedData) {
    Check(gcry_cipher_reset(handle_), "gcry_cipher_reset");
    Check(gcry_cipher_setiv(handle_, nonce.data(), nonce.size()), "gcry_cipher_setiv");
    if (!associatedData.empty()) {
        Check(gcry_cipher_authenticate(handle_, associatedData.data(), associatedData.size()),
              "gcry_cipher_authenticate");
    }
}

Tag ChaCha20Poly1305::Seal(const Nonce& nonce, Bytes associatedData, std::span<std::uint8_t> data) {
    Start(nonce, associatedData);
    if (!data.empty()) {
        Check(gcry_cipher_encrypt(handle_, data.data(), data.size(), nullptr, 0),
              "gcry_cipher_encrypt");
    }
    Tag tag{};
    Check(gcry_cipher_gettag(handle_, tag.data(), tag.size()), "gcry_cipher_gettag");
    return tag;
}

bool ChaCha20Poly1305::Open(const Nonce& nonce, Bytes associatedData, std::span<std::uint8_t> data,
                            const Tag& tag) {
    Start(nonce, associatedData);
    if (!data.empty()) {
        Check(gcry_cipher_decrypt(handle_, data.data(), data.size(), nullptr, 0),
              "gcry_cipher_decrypt");
    }
    const gcry_error_t err = gcry_cipher_checktag(handle_, tag.data(), tag.size());
    if (err == 0) return true;
    WipeBytes(data.data(), data.size());
    if (gcry_err_code(err) == GPG_ERR_CHECKSUM) return false;
    Fail("gcry_cipher_checktag", err);
}

}  // namespace imgcrypt::crypto
