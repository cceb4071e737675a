// Whole texts through the base64 codec, for tests and fuzz targets: the
// encoder with its line breaks, and the decoder, each into a new string.
#pragma once

#include <string>
#include <string_view>

#include "codec/base64.h"

namespace imgcrypt::test {

inline std::string EncodeBase64Text(std::string_view bytes) {
    std::string text(Base64TextSize(bytes.size(), true), '\0');
    EncodeBase64Into(bytes, text.data(), true);
    return text;
}

inline std::string DecodeBase64Text(std::string_view text) {
    std::string bytes(text.size() / 4 * 3 + 3, '\0');
    bytes.resize(DecodeBase64Into(text, bytes.data()));
    return bytes;
}

}  // namespace imgcrypt::test
