// A buffer for file reads that starts on a cache line: the system copies
// into such a buffer several times faster than into one that starts at an
// odd address. Uninitialised: it exists to be read into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace imgcrypt {

class ReadBuffer {
  public:
    static constexpr std::size_t kAlignment = 64;

    explicit ReadBuffer(std::size_t size)
        : storage_(std::make_unique_for_overwrite<char[]>(size + kAlignment)) {
        const auto at = reinterpret_cast<std::uintptr_t>(storage_.get());
        data_ = storage_.get() + (kAlignment - at % kAlignment) % kAlignment;
    }

    char* data() noexcept { return data_; }

  private:
    std::unique_ptr<char[]> storage_;
    char* data_ = nullptr;
};

}  // namespace imgcrypt
