// An open file owned by one object: a POSIX descriptor or a Windows HANDLE
// behind one platform-neutral face, closed by the destructor.
#pragma once

#include <cstdint>
#include <utility>

namespace imgcrypt {

class FileHandle {
  public:
    // A descriptor or a HANDLE value; -1 is "none" on both (INVALID_HANDLE_VALUE).
    using Native = std::intptr_t;
    static constexpr Native kNone = -1;

    FileHandle() = default;
    explicit FileHandle(Native native) noexcept : native_(native) {}
    FileHandle(FileHandle&& other) noexcept : native_(std::exchange(other.native_, kNone)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            native_ = std::exchange(other.native_, kNone);
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    bool valid() const noexcept { return native_ != kNone; }
    Native native() const noexcept { return native_; }

    // Closes now; returns 0 or the platform's error code of a failed close.
    // Defined by the platform's file layer.
    int Close() noexcept;

  private:
    Native native_ = kNone;
};

}  // namespace imgcrypt
