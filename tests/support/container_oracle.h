// Reference implementations of the container writer and the high-level
// scramble: plain loops that follow the rules word by word, 1-based as they
// are stated, with no speed tricks. Tests and fuzz targets compare the fast
// code with them.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/password.h"
#include "runtime/generator.h"
#include "tests/support/base64_text.h"
#include "tests/support/line_oracle.h"

namespace imgcrypt::test {

// Slash rule over positions 1..L-1, then the shift pass over 1..L-10.
inline void ReferenceScramble(std::string& t) {
    const std::size_t len = t.size();
    auto at = [&](std::size_t pos) -> char& { return t[pos - 1]; };
    for (std::size_t i = 1; i + 1 <= len; ++i) {
        if (at(i) == '/' && at(i + 1) != '/' && (i == 1 || at(i - 1) != '/')) at(i) = '\\';
    }
    unsigned shift = 1;
    for (std::size_t j = 1; len > 10 && j <= len - 10; ++j) {
        if (at(j) == '\\') {
            at(j + 1) = static_cast<char>(static_cast<unsigned char>(at(j + 1)) - shift);
            shift = j % 5;
        }
    }
}

// Raise over 1..L-10, then every '\' back to '/'.
inline void ReferenceUnscramble(std::string& t) {
    const std::size_t len = t.size();
    auto at = [&](std::size_t pos) -> char& { return t[pos - 1]; };
    unsigned shift = 1;
    for (std::size_t i = 1; len > 10 && i <= len - 10; ++i) {
        if (at(i) == '\\') {
            at(i + 1) = static_cast<char>(static_cast<unsigned char>(at(i + 1)) + shift);
            shift = i % 5;
        }
    }
    for (char& c : t) {
        if (c == '\\') c = '/';
    }
}

// The container file built one step at a time, as the format describes it,
// with the same generator draws: shift character, then the three fillers.
inline std::string ReferenceContainerFile(std::string_view source, std::string_view password,
                                          EncryptionClass cls) {
    const char shiftChar = static_cast<char>(RandomBetween(33, 126));
    std::string payload = EncodeBase64Text(source);
    if (cls == EncryptionClass::High) {
        std::erase(payload, '\r');
        std::erase(payload, '\n');
        ReferenceScramble(payload);
    }
    const std::size_t headLength = std::min<std::size_t>(payload.size(), 20);
    std::string file = MakePasswordBlock(password, static_cast<unsigned char>(shiftChar) % 9);
    file += payload.substr(headLength);
    file += payload.substr(0, headLength);
    file += shiftChar;
    for (int i = 0; i < 3; ++i) file += static_cast<char>(RandomBetween(33, 126));
    file += cls == EncryptionClass::High ? "@@@@" : "****";
    file += "\r\n";
    return file;
}

// What the decoder gives for a container file's bytes, rule by rule: the
// text is everything before the first byte 26 with CR and LF removed; the
// payload is the head (first 20 of the last 28 characters) and the body
// (from the 21st character up to the trailer), or, in a text of fewer than
// 48 characters, everything from the 21st to the eighth-last; "@@@@" at the
// end unscrambles it.
inline std::string ReferenceDecodeContainerFile(std::string_view bytes) {
    const std::string text = JoinedReadLines(bytes);
    const std::size_t n = text.size();
    std::string payload;
    if (n >= 48) {
        payload = text.substr(n - 28, 20) + text.substr(20, n - 48);
    } else if (n > 28) {
        payload = text.substr(20, n - 28);
    }
    if (n >= 4 && text.substr(n - 4) == "@@@@") ReferenceUnscramble(payload);
    return ReferenceDecodeBase64(payload);
}

}  // namespace imgcrypt::test
