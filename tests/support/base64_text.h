// Whole texts through the base64 codec, for tests and fuzz targets: the
// encoder with its line breaks, and the decoder, each into a new string;
// and a deliberately plain decoder to hold the fast one to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// The decoding rules word by word: keep the significant characters, then
// each group of four gives its bytes ('=' is index 64 and suppresses the
// second or third byte in third or fourth place); a last group of 2 or 3
// characters counts as padded with '=', a single one gives nothing.
inline std::string ReferenceDecodeBase64(std::string_view text) {
    const std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
    int index[256];
    for (int& i : index) i = -1;
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        index[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    std::vector<unsigned> idx;
    idx.reserve(text.size());
    for (char c : text) {
        if (const int at = index[static_cast<unsigned char>(c)]; at >= 0)
            idx.push_back(static_cast<unsigned>(at));
    }
    if (idx.size() % 4 >= 2) idx.resize(idx.size() / 4 * 4 + 4, 64);
    std::string out;
    out.reserve(idx.size() / 4 * 3);
    for (std::size_t g = 0; g + 4 <= idx.size(); g += 4) {
        const unsigned p = idx[g], q = idx[g + 1], r = idx[g + 2], s = idx[g + 3];
        out += static_cast<char>((p * 4 + q / 16) & 0xFF);
        if (r != 64) out += static_cast<char>((q * 16 + r / 4) & 0xFF);
        if (s != 64) out += static_cast<char>((r * 64 + s) & 0xFF);
    }
    return out;
}

}  // namespace imgcrypt::test
