// Number-to-text, trimming and character-counting routines whose exact
// results the password block and file names depend on. Texts are byte strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace imgcrypt {

// Upper-case hexadecimal of the value as unsigned 32-bit, zero-filled to at
// least `minDigits` digits (a count above 32 counts as 0).
std::string HexText(std::int64_t value, int minDigits);
std::string DecimalText(std::int64_t value);

// Removes bytes with a code of 32 or less from both ends.
std::string TrimBlanks(std::string_view text);

// Length in bytes of the UTF-8 character that starts at text[pos] (1 for an
// invalid or truncated sequence).
std::size_t Utf8CharLength(std::string_view text, std::size_t pos) noexcept;
// Number of characters (code points) in the text.
std::size_t Utf8CharCount(std::string_view text) noexcept;

}  // namespace imgcrypt
