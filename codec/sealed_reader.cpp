#include "codec/sealed_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "codec/base64.h"
#include "codec/base64_tables.h"
#include "codec/sealed_errors.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kLongestLine = kBase64LineLength + 1;  // with its CR

// The decoder's value of a character: 0..63 for the alphabet, more for
// '=' and every other byte.
std::uint8_t Base64Value(char c) noexcept {
    return detail::kBase64Values.value[static_cast<unsigned char>(c)];
}

// Whether every character of `text` is of the base64 alphabet; no branch per
// character (a value above 63 has one of the two top bits set).
bool AllAlphabet(std::string_view text) noexcept {
    std::uint8_t bad = 0;
    for (const char c : text) bad |= Base64Value(c);
    return (bad & 0xC0) == 0;
}

// How many characters at the start of `line` are of the base64 alphabet.
std::size_t AlphabetPrefix(std::string_view line) noexcept {
    std::size_t i = 0;
    while (i < line.size() && Base64Value(line[i]) < 64) ++i;
    return i;
}

// The version of a first line "IMGCRYPT-SEALED-<number>", or nothing when
// the rest is no plain number (then the line is damaged, not newer).
std::optional<std::string_view> VersionOf(std::string_view firstLine) {
    if (!firstLine.starts_with(kSealedLinePrefix)) return std::nullopt;
    const std::string_view version = firstLine.substr(kSealedLinePrefix.size());
    if (version.empty() || version.size() > 6 ||
        version.find_first_not_of("0123456789") != version.npos) {
        return std::nullopt;
    }
    return version;
}

}  // namespace

SealedReader::SealedReader(std::string path, OpeningKeys* keys, PlaintextFn plaintext)
    : path_(std::move(path)), keys_(keys), plaintext_(std::move(plaintext)) {}

SealedReader::~SealedReader() = default;

void SealedReader::Damaged(std::string_view reason) const {
    throw EDamagedContainer(path_, reason);
}

void SealedReader::Feed(std::string_view bytes) {
    if (failed_) Damaged("read on after an error");
    try {
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            if (stage_ == Stage::Done) Damaged("bytes after the last line");
            // The usual line, whole in this piece: 76 characters, CR LF.
            if (stage_ == Stage::Lines && partialLine_.empty() &&
                bytes.size() - pos >= kBase64LineLength + 2) {
                const std::string_view line = bytes.substr(pos, kBase64LineLength);
                if (bytes[pos + kBase64LineLength] == '\r' &&
                    bytes[pos + kBase64LineLength + 1] == '\n' && AllAlphabet(line)) {
                    ++lineNumber_;
                    text_.append(line);
                    pos += kBase64LineLength + 2;
                    continue;
                }
            }
            const void* found = std::memchr(bytes.data() + pos, '\n', bytes.size() - pos);
            if (found == nullptr) {
                partialLine_.append(bytes.substr(pos));
                if (partialLine_.size() > kLongestLine) Damaged("a line is too long");
                break;
            }
            const std::size_t end = static_cast<const char*>(found) - bytes.data();
            std::string_view line = bytes.substr(pos, end - pos);
            if (!partialLine_.empty()) {
                partialLine_.append(line);
                line = partialLine_;
            }
            if (line.empty() || line.back() != '\r') Damaged("a line not ended by CR LF");
            line.remove_suffix(1);
            TakeLine(line);
            partialLine_.clear();
            pos = end + 1;
        }
        DecodeText();
    } catch (...) {
        failed_ = true;
        throw;
    }
}

void SealedReader::TakeLine(std::string_view line) {
    ++lineNumber_;
    switch (stage_) {
        case Stage::FirstLine:
            if (line == kSealedFirstLine) {
                stage_ = Stage::Lines;
            } else if (const auto version = VersionOf(line)) {
                throw EUnsupportedContainer(path_, "format version " + std::string(*version));
            } else {
                Damaged("not a sealed container");
            }
            return;
        case Stage::Lines:
            if (line == kSealedLastLine) {
                if (lineNumber_ == 2) Damaged("no payload");
                stage_ = Stage::Done;
            } else {
                TakeBase64Line(line);
            }
            return;
        case Stage::LastLine:
            if (line != kSealedLastLine) Damaged("a line after the last base64 line");
            stage_ = Stage::Done;
            return;
        case Stage::Done:
            Damaged("bytes after the last line");
    }
}

void SealedReader::TakeBase64Line(std::string_view line) {
    if (line.empty()) Damaged("an empty line");
    if (line.size() > kBase64LineLength) Damaged("a line is too long");
    const std::size_t letters = AlphabetPrefix(line);
    if (letters == kBase64LineLength) {
        text_.append(line);
        return;
    }
    // Anything else ends the base64: a shorter line, or padding.
    const std::size_t pad = line.size() - letters;
    if (line.size() % 4 != 0 || pad > 2 || line.find_first_not_of('=', letters) != line.npos) {
        Damaged("a line that is not base64");
    }
    // The bits the padding leaves over must be zero: one text per payload.
    if (pad > 0) {
        const unsigned last = Base64Value(line[letters - 1]);
        if ((last & (pad == 1 ? 0x03 : 0x0F)) != 0) Damaged("base64 padding with bits set");
    }
    text_.append(line);
    stage_ = Stage::LastLine;
}

void SealedReader::DecodeText() {
    if (text_.empty()) return;
    decoded_.resize(text_.size() / 4 * 3 + 3);
    const std::size_t n = DecodeBase64Into(text_, decoded_.data());
    text_.clear();
    TakePayload({reinterpret_cast<const std::uint8_t*>(decoded_.data()), n});
}

void SealedReader::TakePayload(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        if (!aead_) {
            const std::size_t n = std::min(bytes.size(), start_.size() - startFill_);
            std::copy_n(bytes.data(), n, start_.data() + startFill_);
            startFill_ += n;
            bytes = bytes.subspan(n);
            if (startFill_ >= kSealedHeaderSize && !header_) {
                header_ = ParseSealedHeader(std::span(start_).first<kSealedHeaderSize>(), path_);
            }
            if (keys_ == nullptr && header_) return;
            if (startFill_ == start_.size()) TakeHeaderAndTag();
            continue;
        }
        // A full record is the last only if nothing follows it.
        if (recordFill_ == kSealedRecordSize) OpenRecord(false);
        const std::size_t n = std::min(bytes.size(), kSealedRecordSize - recordFill_);
        std::copy_n(bytes.data(), n, record_.data() + recordFill_);
        recordFill_ += n;
        bytes = bytes.subspan(n);
    }
}

void SealedReader::TakeHeaderAndTag() {
    SealedHeaderBytes headerBytes{};
    std::copy_n(start_.begin(), kSealedHeaderSize, headerBytes.begin());
    crypto::Tag tag{};
    std::copy_n(start_.begin() + kSealedHeaderSize, crypto::kTagSize, tag.begin());
    const FileKeys keys = DeriveFileKeys(keys_->KekFor(*header_), header_->fileNonce);
    if (!SealedHeaderTagMatches(keys.header, headerBytes, tag)) throw EWrongPassword();
    aead_ = std::make_unique<crypto::ChaCha20Poly1305>(keys.data.span());
    record_ = SecretBytes(kSealedRecordSize);
}

void SealedReader::OpenRecord(bool last) {
    if (recordFill_ < crypto::kTagSize) Damaged("the last chunk is cut short");
    const std::size_t n = recordFill_ - crypto::kTagSize;
    crypto::Tag tag{};
    std::copy_n(record_.data() + n, crypto::kTagSize, tag.begin());
    const std::span<std::uint8_t> data = record_.span().first(n);
    if (!aead_->Open(SealedChunkNonce(chunkIndex_, last), {}, data, tag)) {
        Damaged("chunk " + std::to_string(chunkIndex_) + " fails its check");
    }
    plaintext_(data);
    ++chunkIndex_;
    recordFill_ = 0;
}

void SealedReader::Finish() {
    if (failed_) Damaged("read on after an error");
    try {
        if (!partialLine_.empty()) Damaged("the file ends inside a line");
        if (stage_ != Stage::Done) Damaged("the file ends before its last line");
        if (!header_ || (keys_ != nullptr && !aead_)) Damaged("the file ends inside the header");
        if (keys_ != nullptr) OpenRecord(true);
    } catch (...) {
        failed_ = true;
        throw;
    }
}

}  // namespace imgcrypt
