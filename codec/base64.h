// Base64 text: RFC 4648 alphabet, lines of 76 characters each followed by
// CR LF (also a full last line); the decoder skips every byte that is not a
// base64 character or '=' and never fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace imgcrypt {

namespace detail {
struct Base64Kernels;
}

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

// Decodes a text that arrives in pieces: the pieces give, one after the
// other, the bytes their joined text gives. A group of four significant
// characters may span pieces.
class Base64Decoder {
  public:
    Base64Decoder() noexcept;
    // With the given kernels instead of the processor's best (for tests).
    explicit Base64Decoder(const detail::Base64Kernels& kernels) noexcept;

    // Decodes the next piece into `out`, which must hold
    // MaxDecodedSize(piece.size()) bytes and must not overlap the piece;
    // returns the number of bytes written.
    std::size_t Decode(std::string_view piece, char* out) noexcept;

    // After the last piece: the bytes of an unfinished last group (1 to 3
    // significant characters; never made by the encoder). Writes at most 2.
    std::size_t Finish(char* out) noexcept;

    static constexpr std::size_t MaxDecodedSize(std::size_t pieceSize) noexcept {
        return (pieceSize + 3) / 4 * 3;
    }

  private:
    const detail::Base64Kernels* kernels_;
    std::uint8_t group_[4] = {};
    std::size_t have_ = 0;  // significant characters gathered in group_
};

}  // namespace imgcrypt
