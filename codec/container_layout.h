// Where each field of a container stands, its sizes and markers, and the
// characters a file draws from the generator: known here and nowhere else.
// Internal to codec/.
//
//   password block | payload body | payload head | shift | 3 fillers | marker | CR LF
//
// The head is the first 20 characters of the payload text (all of it when it
// is shorter), the body the rest; head to marker is the trailer, the last 28
// characters of the container text.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "codec/container.h"

namespace imgcrypt {

inline constexpr std::size_t kPasswordBlockLength = 20;
inline constexpr std::size_t kHeadLength = 20;
inline constexpr std::size_t kFillerCount = 3;
inline constexpr std::size_t kMarkerLength = 4;
// Shift character, fillers and marker: the trailer after the head.
inline constexpr std::size_t kTrailerTail = 1 + kFillerCount + kMarkerLength;
inline constexpr std::size_t kTrailerLength = kHeadLength + kTrailerTail;
inline constexpr std::string_view kStandardMarker = "****";
inline constexpr std::string_view kHighMarker = "@@@@";

// Length of the payload text of a source of n bytes: its base64 text, with
// the line breaks in the standard class, without them in the high class.
std::size_t PayloadLength(std::size_t sourceSize, EncryptionClass cls) noexcept;

// Bytes of the whole container file, final CR LF included.
std::size_t ContainerFileSize(std::size_t sourceSize, EncryptionClass cls) noexcept;

// The four characters a file draws, in the order they are drawn.
struct TrailerDraws {
    char shiftChar = 0;
    std::array<char, kFillerCount> fillers{};
};
TrailerDraws DrawTrailerCharacters() noexcept;

// Shift value the password block is built with.
int ShiftValue(char shiftChar) noexcept;

// The file's first bytes from the payload text's first piece, which stands at
// `text` with kPasswordBlockLength bytes of room before it: the head (the
// first 20 characters, all of a shorter text) moves to `head`, and the
// password block takes the room right before the body.
std::string_view StartFile(char* text, std::size_t length, std::string_view block,
                           std::string& head);

// The end of the file: head, shift character, fillers, marker and CR LF.
std::string MakeTrailer(std::string_view head, const TrailerDraws& draws, EncryptionClass cls);

// Moves the payload text (head, then body) of a joined container text to
// the front of the same buffer and returns its length.
std::size_t GatherPayloadInPlace(char* text, std::size_t size) noexcept;

}  // namespace imgcrypt
