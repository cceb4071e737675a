// The encrypted container: password block, payload body, payload head, shift
// character, three filler characters and the class marker, one line break.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace imgcrypt {

enum class EncryptionClass { Standard = 0, High = 1 };

inline constexpr std::string_view kStandardMarker = "****";
inline constexpr std::string_view kHighMarker = "@@@@";
inline constexpr std::size_t kPasswordBlockLength = 20;
inline constexpr std::size_t kTrailerLength = 28;

// High-level scramble of a line-free base64 text, in place, and its inverse.
void ScrambleHighLevel(std::string& text) noexcept;
void UnscrambleHighLevel(std::string& text) noexcept;

// Payload text of a base64 text: unchanged for the standard class; line
// breaks removed and scrambled for the high class.
std::string MakePayloadText(EncryptionClass cls, std::string_view base64Text);

// Container characters without the final line break. Draws the three filler
// characters from the generator; the shift character was drawn before.
std::string AssembleContainer(std::string_view payload, std::string_view passwordBlock,
                              char shiftChar, EncryptionClass cls);

// The complete container file (final CR LF included) for the source bytes:
// draws the shift character, then the fillers, exactly as the steps above but
// in one buffer.
std::string MakeContainerFile(std::string_view source, std::string_view password,
                              EncryptionClass cls);

struct Recognition {
    bool isContainer = false;
    bool highLevel = false;
};
Recognition Recognise(std::string_view containerText) noexcept;

// Payload of a container text as plain base64 (unscrambled for "@@@@").
// Texts shorter than 48 characters hold their payload between position 21
// and the eighth-last character.
std::string ExtractPayload(std::string_view containerText);

// Source bytes of a container file's bytes (line-by-line reading rules,
// payload extraction, base64 decoding). Works in place on `fileBytes`.
std::string DecodeContainerFile(std::string fileBytes);

// The same for a container text whose lines are already joined (as
// ReadJoinedLines gives it). Works in place on `containerText`.
std::string DecodeContainerText(std::string containerText);

}  // namespace imgcrypt
