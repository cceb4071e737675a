// Where the command line gets the password from: a password file, the
// terminal without echo, or the first line of standard input. Never from the
// arguments, where other users could see it in the process list.
#pragma once

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace imgcrypt {

// The password could not be read at all (missing file, no input).
class EPasswordInputError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Longest line taken; anything beyond is far past the 10-character limit.
inline constexpr std::size_t kMaxPasswordLine = 1024;

// The first line of the text without its line break (LF or CR LF); only the
// break is removed, blanks stay.
std::string FirstLine(std::string_view text);

// Reads the first line from `in` (at most kMaxPasswordLine bytes, line break
// removed). Nothing when the input ends before its first byte. Raises
// EPasswordInputError when reading fails; `source` names the input in it.
std::optional<std::string> ReadFirstLine(std::FILE* in, std::string_view source);

// The password: the first line of `passwordFile` when given; otherwise typed
// at the terminal after the prompt "Password: " on standard error, without
// echo, when standard input is a terminal; otherwise the first line of
// standard input. Raises EPasswordInputError.
std::string ReadTypedPassword(const std::optional<std::string>& passwordFile);

}  // namespace imgcrypt
