// The encrypted container: password block, payload body, payload head, shift
// character, three filler characters and the class marker, one line break.
#pragma once

#include <string_view>

namespace imgcrypt {

// Standard and High are the containers of this file; Sealed is real
// encryption, written by codec/sealed_*.
enum class EncryptionClass { Standard = 0, High = 1, Sealed = 2 };

struct Recognition {
    bool isContainer = false;
    bool highLevel = false;
};
Recognition Recognise(std::string_view containerText) noexcept;

// The probe's answer for a file: whether it is a container, of which class,
// and whether the typed password is the one stored in it.
struct ProbeResult {
    bool isContainer = false;
    bool highLevel = false;
    bool passwordMatch = false;
};

}  // namespace imgcrypt
