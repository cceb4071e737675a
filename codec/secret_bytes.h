// Buffers for passwords, keys and decrypted data: overwritten with zeros
// when they go, so no secret outlives its use in freed memory.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

namespace imgcrypt {

// Zeros `n` bytes at `p`; the stores go through a volatile pointer, so the
// compiler cannot drop them as dead.
inline void WipeBytes(void* p, std::size_t n) noexcept {
    volatile auto* bytes = static_cast<volatile std::uint8_t*>(p);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = 0;
}

// N secret bytes in place (keys).
template <std::size_t N>
class SecretArray {
  public:
    SecretArray() = default;
    SecretArray(const SecretArray&) = default;
    SecretArray& operator=(const SecretArray&) = default;
    ~SecretArray() { WipeBytes(bytes_.data(), N); }

    std::span<std::uint8_t, N> span() noexcept { return bytes_; }
    std::span<const std::uint8_t, N> span() const noexcept { return bytes_; }
    std::uint8_t* data() noexcept { return bytes_.data(); }
    const std::uint8_t* data() const noexcept { return bytes_.data(); }
    static constexpr std::size_t size() noexcept { return N; }

  private:
    std::array<std::uint8_t, N> bytes_{};
};

// Secret bytes of a size fixed at creation (a password, a chunk of
// plaintext). Moving hands the bytes over; nothing is ever reallocated, so
// no unwiped copy is left behind.
class SecretBytes {
  public:
    SecretBytes() = default;
    explicit SecretBytes(std::size_t size)
        : bytes_(std::make_unique<std::uint8_t[]>(size)), size_(size) {}
    explicit SecretBytes(std::string_view text) : SecretBytes(text.size()) {
        std::copy(text.begin(), text.end(), bytes_.get());
    }
    SecretBytes(SecretBytes&& other) noexcept
        : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}
    SecretBytes& operator=(SecretBytes&& other) noexcept {
        if (this != &other) {
            Wipe();
            bytes_ = std::move(other.bytes_);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    ~SecretBytes() { Wipe(); }

    std::uint8_t* data() noexcept { return bytes_.get(); }
    const std::uint8_t* data() const noexcept { return bytes_.get(); }
    std::size_t size() const noexcept { return size_; }
    std::span<std::uint8_t> span() noexcept { return {bytes_.get(), size_}; }
    std::span<const std::uint8_t> span() const noexcept { return {bytes_.get(), size_}; }

  private:
    void Wipe() noexcept {
        if (bytes_) WipeBytes(bytes_.get(), size_);
    }

    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
};

}  // namespace imgcrypt
