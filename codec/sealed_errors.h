// What can stop a sealed container from being written or opened: one type
// per case, so the window and the command line can tell them apart and show
// each in the user's language (batch/sealed_messages.h). The texts here are
// plain English for logs; none ever holds a password or a key.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace imgcrypt {

class ESealedError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The header's tag does not match the password: a wrong password, or a
// header changed since sealing, which no one can tell apart.
class EWrongPassword : public ESealedError {
  public:
    EWrongPassword();
};

// The container is not as the writer makes it: broken lines or base64, a
// chunk that fails its check, pieces missing, reordered or added.
class EDamagedContainer : public ESealedError {
  public:
    // `path` names the file; `reason` says what was found, for logs.
    EDamagedContainer(std::string_view path, std::string_view reason);
    const std::string& path() const noexcept { return path_; }

  private:
    std::string path_;
};

// A container of a later format: a version, an algorithm or a cost this
// program does not know. `detail` names it ("format version 2", "t = 12").
class EUnsupportedContainer : public ESealedError {
  public:
    EUnsupportedContainer(std::string_view path, std::string_view detail);
    const std::string& path() const noexcept { return path_; }
    const std::string& detail() const noexcept { return detail_; }

  private:
    std::string path_;
    std::string detail_;
};

// The key derivation could not get the memory it asks for.
class EKeyDerivationMemory : public ESealedError {
  public:
    explicit EKeyDerivationMemory(std::uint32_t kibibytes);
    std::uint32_t mebibytes() const noexcept { return mebibytes_; }

  private:
    std::uint32_t mebibytes_;
};

// The caller's progress hook asked to stop; nothing was written.
class ECancelled : public std::runtime_error {
  public:
    ECancelled();
};

// libgcrypt refused a call that cannot fail with sound input; names the call
// and libgcrypt's reason.
class ECryptoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace imgcrypt
