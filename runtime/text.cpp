#include "runtime/text.h"

#include <charconv>

namespace imgcrypt {

std::string HexText(std::int64_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (minDigits > 32 || minDigits < 0) minDigits = 0;
    auto v = static_cast<std::uint32_t>(value);  // two's complement for negatives
    char digits[8];
    int count = 0;
    do {
        digits[count++] = kDigits[v & 0xFu];
        v >>= 4;
    } while (v != 0);
    std::string result;
    if (minDigits > count) result.assign(static_cast<std::size_t>(minDigits - count), '0');
    while (count > 0) result += digits[--count];
    return result;
}

std::string DecimalText(std::int64_t value) {
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;  // 24 bytes always suffice for a 64-bit value
    return std::string(buffer, end);
}

std::string TrimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) noexcept {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(pos);
    std::size_t length = 0;
    unsigned char low = 0x80;  // allowed range of the second byte (rules out overlongs etc.)
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no UTF-16 surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 1;
    }
    if (text.size() - pos < length) return 1;
    if (byteAt(pos + 1) < low || byteAt(pos + 1) > high) return 1;
    for (std::size_t i = 2; i < length; ++i) {
        if (byteAt(pos + i) < 0x80 || byteAt(pos + i) > 0xBF) return 1;
    }
    return length;
}

std::size_t Utf8CharCount(std::string_view text) noexcept {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) ++count;
    return count;
}

}  // namespace imgcrypt
