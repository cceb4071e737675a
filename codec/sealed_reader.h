// The sealed container reader: the file's bytes pushed in pieces of any
// size, checked strictly as they come (lines, base64, header, password,
// every chunk), each chunk's plaintext handed on only once its tag checked
// out. Memory stays flat whatever the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codec/sealed_format.h"
#include "codec/sealed_keys.h"
#include "codec/secret_bytes.h"

namespace imgcrypt {

class SealedReader {
  public:
    // Receives the plaintext, chunk by chunk, in order.
    using PlaintextFn = std::function<void(std::span<const std::uint8_t> plaintext)>;

    // `path` names the file in errors. `keys` gives the key for the
    // header's salt and cost; without keys the reader checks the lines and
    // the header only, and ignores the rest of the payload.
    SealedReader(std::string path, OpeningKeys* keys, PlaintextFn plaintext = {});
    ~SealedReader();
    SealedReader(const SealedReader&) = delete;
    SealedReader& operator=(const SealedReader&) = delete;

    // The next bytes of the file. Raises EDamagedContainer,
    // EUnsupportedContainer, EWrongPassword or EKeyDerivationMemory; after
    // that the reader takes nothing more, and whatever it handed on must be
    // discarded.
    void Feed(std::string_view bytes);

    // The end of the file: raises EDamagedContainer unless the container
    // was complete (the last chunk, the last line, nothing after it).
    void Finish();

    // Whether the header is in and the password opened it: after this a
    // probe may stop reading.
    bool passwordChecked() const noexcept { return aead_ != nullptr; }

    // The header, once its 48 bytes are in and its version and limits are
    // known (before any key is derived).
    const std::optional<SealedHeader>& header() const noexcept { return header_; }

  private:
    enum class Stage { FirstLine, Lines, LastLine, Done };

    [[noreturn]] void Damaged(std::string_view reason) const;
    void TakeLine(std::string_view line);
    void TakeBase64Line(std::string_view line);
    void DecodeText();
    void TakePayload(std::span<const std::uint8_t> bytes);
    void TakeHeaderAndTag();
    void OpenRecord(bool last);

    std::string path_;
    OpeningKeys* keys_;
    PlaintextFn plaintext_;
    Stage stage_ = Stage::FirstLine;
    bool failed_ = false;
    std::string partialLine_;  // a line not yet ended by CR LF
    std::uint64_t lineNumber_ = 0;
    std::string text_;  // checked base64, not yet decoded
    std::string decoded_;
    // Header and tag, then the current chunk record (ciphertext and tag,
    // plaintext after opening).
    std::array<std::uint8_t, kSealedHeaderSize + crypto::kTagSize> start_{};
    std::size_t startFill_ = 0;
    std::optional<SealedHeader> header_;
    std::unique_ptr<crypto::ChaCha20Poly1305> aead_;
    SecretBytes record_;
    std::size_t recordFill_ = 0;
    std::uint64_t chunkIndex_ = 0;
};

}  // namespace imgcrypt
