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
// Encoded in blocks of whole lines of about a chunk's size.
constexpr std::size_t kBlockBytes = kLineBytes * (kSealedRecordSize / kLineBytes);

constexpr std::string_view kLineBreak = "\r\n";

// The payload as base64 lines: bytes are gathered and sent on in blocks of
// whole lines; Finish sends the short last line.
class Base64LineWriter {
  public:
    explicit Base64LineWriter(const SealedSinkFn& sink) : sink_(sink) {
        pending_.reserve(kBlockBytes + kSealedRecordSize);
    }

    void Put(std::span<const std::uint8_t> bytes) {
        pending_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (pending_.size() >= kBlockBytes) Send(pending_.size() / kLineBytes * kLineBytes);
    }

    void Finish() {
        // The encoder ends a full line with CR LF itself, padded or not.
        const bool shortLine = Base64TextSize(pending_.size(), false) % kBase64LineLength != 0;
        Send(pending_.size());
        if (shortLine) sink_(kLineBreak);
    }

  private:
    // Encodes the first n pending bytes (whole lines, except at the end).
    void Send(std::size_t n) {
        const std::string_view bytes(pending_.data(), n);
        text_.resize(Base64TextSize(n, true));
        EncodeBase64Into(bytes, text_.data(), true);
        sink_(text_);
        pending_.erase(0, n);
    }

    const SealedSinkFn& sink_;
    std::string pending_;
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

    crypto::ChaCha20Poly1305 aead(keys.data.span());
    SecretBytes chunk(kSealedChunkSize);
    std::uint64_t done = 0;
    // An empty source is one empty chunk; a multiple of the chunk size has
    // no empty chunk after its last full one.
    for (std::uint64_t index = 0;; ++index) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(sourceSize - done, kSealedChunkSize));
        const bool last = done + n == sourceSize;
        const std::span<std::uint8_t> piece = chunk.span().first(n);
        if (n > 0) read(reinterpret_cast<char*>(piece.data()), n);
        const crypto::Tag tag = aead.Seal(SealedChunkNonce(index, last), {}, piece);
        lines.Put(piece);
        lines.Put(tag);
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
