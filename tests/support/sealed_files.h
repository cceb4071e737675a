// Sealed containers taken apart and put back together, for tests that
// change one thing in a container and expect the reader to notice.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "codec/sealed_format.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_reader.h"
#include "tests/support/base64_text.h"

namespace imgcrypt::test {

// Cheap key derivation, at the lowest cost a reader accepts.
inline constexpr crypto::Argon2Cost kQuickCost{1, 8, 1};

// The binary payload of a container made by the writer.
inline std::string SealedPayload(std::string_view file) {
    const std::size_t start = file.find('\n') + 1;
    const std::size_t end = file.rfind(kSealedLastLine);
    return DecodeBase64Text(file.substr(start, end - start));
}

// A container around `payload`, its base64 in lines of `lineLength`.
inline std::string SealedText(std::string_view payload, std::size_t lineLength = 76) {
    std::string flat(Base64TextSize(payload.size(), false), '\0');
    EncodeBase64Into(payload, flat.data(), false);
    std::string file = std::string(kSealedFirstLine) + "\r\n";
    for (std::size_t i = 0; i < flat.size(); i += lineLength) {
        file += flat.substr(i, lineLength) + "\r\n";
    }
    return file + std::string(kSealedLastLine) + "\r\n";
}

// The container with one base64 character in the middle of its chunks
// changed, as a stray write would change it: still well-formed, no longer
// what was sealed.
inline std::string Tampered(std::string file) {
    std::size_t at = file.size() / 2;
    while (file[at] == '\r' || file[at] == '\n') ++at;
    file[at] = file[at] == 'A' ? 'B' : 'A';
    return file;
}

// The plaintext of a container, fed to the reader in pieces of `piece`
// bytes. Raises as the reader does.
inline std::string OpenSealedText(std::string_view file, OpeningKeys& keys,
                                  std::size_t piece = std::string_view::npos) {
    std::string plaintext;
    SealedReader reader("test.jpg", &keys, [&](std::span<const std::uint8_t> bytes) {
        plaintext.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    });
    for (std::size_t at = 0; at < file.size(); at += piece) reader.Feed(file.substr(at, piece));
    reader.Finish();
    return plaintext;
}

}  // namespace imgcrypt::test
