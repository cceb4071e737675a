// Number-to-text and substring routines whose exact results the container
// format and file names depend on. Texts are byte strings; positions 1-based.
#pragma once

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
// 'a'..'z' to 'A'..'Z', every other byte unchanged.
std::string UpperAscii(std::string_view text);

// First / last n characters; texts are UTF-8 and a character is a code point
// (an invalid byte counts as one character).
std::string LeftChars(std::string_view text, int n);
std::string RightChars(std::string_view text, int n);

std::string CopyBytes(std::string_view text, int index, int count);
std::string DeleteBytes(std::string_view text, int index, int count);
std::string InsertBytes(std::string_view source, std::string_view text, int index);
// Position of the first occurrence of `part` in `text`; 0 when absent or either is empty.
int FindBytes(std::string_view part, std::string_view text);

// Length in bytes of the UTF-8 character that starts at text[pos] (1 for an
// invalid or truncated sequence). Shared by the character-counting routines.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos) noexcept;
// Number of characters (code points) in the text.
std::size_t Utf8CharCount(std::string_view text) noexcept;

}  // namespace imgcrypt
