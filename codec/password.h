// Password rules and the 20-character password block at the start of every
// container.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace imgcrypt {

// A password has at most this many characters: the password box takes no
// more, and the block stores exactly this many (padded with blanks).
inline constexpr std::size_t kMaxPasswordLength = 10;

// The texts the password rules show, in the current interface language.
struct PasswordRuleTexts {
    std::string_view msgShortPassword;
    std::string_view msgNoBlank;
    std::string_view msgIllegalChar;
};

// Outcome of the rules: whether the password passes, and the message boxes to
// show for a refused one, in order.
struct PasswordCheck {
    bool valid = false;
    std::vector<std::string> messages;
};

// The password rules: 5 or more characters, each with a code from 33 to 126.
// Characters, not bytes, are counted; a non-ASCII character is refused whole.
PasswordCheck getencsn(std::string_view password, const PasswordRuleTexts& texts);

// The text followed by blanks up to kMaxPasswordLength characters; longer
// texts unchanged.
std::string strto10(std::string_view text);

// Ten two-digit hex pairs: each character of the padded password minus the
// shift value (0..8), taken modulo 256.
std::string MakePasswordBlock(std::string_view password, int shiftValue);

// One hex pair; 0 unless the text has exactly two characters. Non-hex
// characters count as digit 0.
int hexpair(std::string_view pair);

// The password stored in a container text (its shift character is the
// eighth-last character); never fails, an empty text gives "".
std::string ReadPassword(std::string_view containerText);

// Whether the password stored in the container text equals the typed one
// (case-sensitive, the typed text taken unchanged).
bool PasswordMatches(std::string_view containerText, std::string_view typedPassword);

}  // namespace imgcrypt
