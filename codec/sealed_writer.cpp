#include "codec/sealed_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "codec/base64.h"
#include "codec/sealed_errors.h"

namespace imgcrypt {
namespace {

// Bytes of one full base64 line.
constexpr std::size_t kLineBytes = kBase64LineLength / 4 * 3;
constexpr std::string_view kLineBreak = "\r\n";

// The payload as base64 lines. Bytes are written straight into its buffer
// (a chunk is read and encrypted there, so plaintext never leaves a wiping
// buffer and nothing is copied twice); whole lines are sent on, the bytes
// of a line begun stay for the next chunk, and Finish sends the short last
// line.
class Base64LineWriter {
  public:
    explicit Base64LineWriter(const SealedSinkFn& sink)
        : sink_(sink), buffer_(kLineBytes + kSealedRecordSize) {}

    // Room for n more bytes; Added(n) takes them.
    std::span<std::uint8_t> Room(std::size_t n) { return buffer_.span().subspan(fill_, n); }
    void Added(std::size_t n) noexcept { fill_ += n; }

    void Put(std::span<const std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), Room(bytes.size()).begin());
        Added(bytes.size());
    }

    void SendWholeLines() {
        const std::size_t n = fill_ / kLineBytes * kLineBytes;
        Send(n);
        std::memmove(buffer_.data(), buffer_.data() + n, fill_ - n);
        fill_ -= n;
    }

    void Finish() {
        // The encoder ends a full line with CR LF itself, padded or not.
        const bool shortLine = Base64TextSize(fill_, false) % kBase64LineLength != 0;
        Send(fill_);
        fill_ = 0;
        if (shortLine) sink_(kLineBreak);
    }

  private:
    void Send(std::size_t n) {
        if (n == 0) return;
        text_.resize(Base64TextSize(n, true));
        EncodeBase64Into({reinterpret_cast<const char*>(buffer_.data()), n}, text_.data(), true);
        sink_(text_);
    }

    const SealedSinkFn& sink_;
    SecretBytes buffer_;
    std::size_t fill_ = 0;
    std::string text_;
};

}  // namespace

void StreamSealedFile(std::uint64_t sourceSize, const SealedSourceFn& read, const SealingKey& key,
                      const FileNonce& fileNonce, const SealedSinkFn& sink,
                      const SealedProgressFn& progress) {
    SealedHeader header;
    header.cost = key.cost();
    header.salt = key.salt();
    header.fileNonce = fileNonce;
    const SealedHeaderBytes headerBytes = EncodeSealedHeader(header);
    const FileKeys keys = DeriveFileKeys(key.kek(), fileNonce);
    const crypto::Tag headerTag = SealedHeaderTag(keys.header, headerBytes);

    sink(std::string(kSealedFirstLine) + std::string(kLineBreak));
    Base64LineWriter lines(sink);
    lines.Put(headerBytes);
    lines.Put(headerTag);
    lines.SendWholeLines();

    crypto::ChaCha20Poly1305 aead(keys.data.span());
    std::uint64_t done = 0;
    // An empty source is one empty chunk; a multiple of the chunk size has
    // no empty chunk after its last full one.
    for (std::uint64_t index = 0;; ++index) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(sourceSize - done, kSealedChunkSize));
        const bool last = done + n == sourceSize;
        const std::span<std::uint8_t> record = lines.Room(n + crypto::kTagSize);
        const std::span<std::uint8_t> piece = record.first(n);
        if (n > 0) read(reinterpret_cast<char*>(piece.data()), n);
        const crypto::Tag tag = aead.Seal(SealedChunkNonce(index, last), {}, piece);
        std::copy(tag.begin(), tag.end(), record.begin() + static_cast<std::ptrdiff_t>(n));
        lines.Added(record.size());
        lines.SendWholeLines();
        done += n;
        if (progress && !progress(done, sourceSize)) throw ECancelled();
        if (last) break;
    }
    lines.Finish();
    sink(std::string(kSealedLastLine) + std::string(kLineBreak));
}

std::string MakeSealedFile(std::string_view source, const SealingKey& key,
                           const FileNonce& fileNonce) {
    std::string file;
    file.reserve(static_cast<std::size_t>(SealedContainerSize(source.size())));
    std::size_t at = 0;
    StreamSealedFile(
        source.size(),
        [&](char* dst, std::size_t n) {
            std::memcpy(dst, source.data() + at, n);
            at += n;
        },
        key, fileNonce, [&](std::string_view piece) { file.append(piece); });
    return file;
}

FileNonce DrawFileNonce() {
    FileNonce nonce{};
    crypto::StrongRandom(nonce);
    return nonce;
}

}  // namespace imgcrypt
