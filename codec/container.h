// The encrypted container: password block, payload body, payload head, shift
// character, three filler characters and the class marker, one line break.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt {

// Standard and High are the containers of this file; Sealed is real
// encryption, written by codec/sealed_*.
enum class EncryptionClass { Standard = 0, High = 1, Sealed = 2 };

// The complete container file (final CR LF included) for the source bytes,
// built in one buffer by the streamed writer: the same bytes and the same
// generator draws as StreamContainerFile.
std::string MakeContainerFile(std::string_view source, std::string_view password,
                              EncryptionClass cls);

struct Recognition {
    bool isContainer = false;
    bool highLevel = false;
};
Recognition Recognise(std::string_view containerText) noexcept;

// Source bytes of a container file's bytes (line-by-line reading rules,
// payload extraction, base64 decoding). Works in place on `fileBytes`.
std::string DecodeContainerFile(std::string fileBytes);

// The same for a container text whose lines are already joined (as
// ReadJoinedLines gives it). Works in place on `containerText`. Texts shorter
// than 48 characters hold their payload between position 21 and the
// eighth-last character.
std::string DecodeContainerText(std::string containerText);

}  // namespace imgcrypt
