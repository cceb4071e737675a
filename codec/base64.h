// Base64 text: RFC 4648 alphabet, lines of 76 characters each followed by
// CR LF (also a full last line); the decoder skips every byte that is not a
// base64 character or '=' and never fails.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace imgcrypt {

inline constexpr std::size_t kBase64LineLength = 76;

// Size of the base64 text of n bytes, with or without the line breaks.
std::size_t Base64TextSize(std::size_t n, bool withLineBreaks) noexcept;

// Writes the base64 text of `bytes` to `out`, which must hold
// Base64TextSize(bytes.size(), withLineBreaks) characters.
void EncodeBase64Into(std::string_view bytes, char* out, bool withLineBreaks) noexcept;

// Decodes `text` into `out` (at least text.size() * 3 / 4 + 3 bytes); returns
// the number of bytes written. `out` may equal text.data(): the output never
// overtakes the input.
std::size_t DecodeBase64Into(std::string_view text, char* out) noexcept;

std::string EncodeBase64Text(std::string_view bytes);
std::string DecodeBase64Text(std::string_view text);

}  // namespace imgcrypt
