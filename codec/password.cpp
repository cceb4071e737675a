#include "codec/password.h"

#include "codec/container_layout.h"
#include "runtime/text.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kMinPasswordChars = 5;
// Shown before an illegal password character, the same in both languages.
constexpr std::string_view kIllegalCharPrefix = "str0[i]:";

int HexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;  // only in files the writer did not make; any value will do
}

}  // namespace

PasswordCheck getencsn(std::string_view password, const PasswordRuleTexts& texts) {
    PasswordCheck check;
    if (Utf8CharCount(password) < kMinPasswordChars) {
        check.messages.emplace_back(texts.msgShortPassword);
        return check;
    }
    for (std::size_t i = 0; i < password.size();) {
        const std::size_t len = Utf8CharLength(password, i);
        const auto code = static_cast<unsigned char>(password[i]);
        if (code == ' ') {
            check.messages.emplace_back(texts.msgNoBlank);
            return check;
        }
        if (len > 1 || code < 33 || code > 126) {
            // The offending character is shown whole, all its bytes.
            check.messages.push_back(
                std::string(kIllegalCharPrefix).append(password.substr(i, len)));
            check.messages.emplace_back(texts.msgIllegalChar);
            return check;
        }
        i += len;
    }
    check.valid = true;
    return check;
}

std::string strto10(std::string_view text) {
    std::string padded(text);
    if (padded.size() < kMaxPasswordLength) padded.resize(kMaxPasswordLength, ' ');
    return padded;
}

std::string MakePasswordBlock(std::string_view password, int shiftValue) {
    const std::string padded = strto10(password);
    std::string block;
    block.reserve(kPasswordBlockLength);
    for (std::size_t i = 0; i < kMaxPasswordLength; ++i) {
        // Modulo 256 keeps every pair two digits even for a character below
        // the shift value; the reader's (v + k) mod 256 undoes it.
        const int code = static_cast<unsigned char>(padded[i]);
        block += HexText((code - shiftValue) & 0xFF, 2);
    }
    return block;
}

int hexpair(std::string_view pair) {
    if (pair.size() != 2) return 0;
    return 16 * HexDigit(pair[0]) + HexDigit(pair[1]);
}

std::string ReadPassword(std::string_view containerText) {
    if (containerText.empty()) return {};
    // The shift character opens the trailer's tail.
    const char shiftChar = containerText.size() >= kTrailerTail
                               ? containerText[containerText.size() - kTrailerTail]
                               : containerText[0];
    const int k = ShiftValue(shiftChar);
    const std::string_view block = containerText.substr(0, kPasswordBlockLength);
    std::string decoded;
    decoded.reserve(kMaxPasswordLength);
    for (std::size_t i = 0; i < kMaxPasswordLength; ++i) {
        const std::size_t at = 2 * i;
        const std::string_view pair = at < block.size() ? block.substr(at, 2) : std::string_view{};
        decoded += static_cast<char>((hexpair(pair) + k) & 0xFF);
    }
    return TrimBlanks(decoded);
}

bool PasswordMatches(std::string_view containerText, std::string_view typedPassword) {
    // An empty text holds no password; an accepted password is never empty.
    if (containerText.empty()) return false;
    return ReadPassword(containerText) == typedPassword;
}

}  // namespace imgcrypt
