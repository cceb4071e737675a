// The password rules of the command line: the window's rules with the texts
// of the chosen language, plus the 10-character limit the window's box
// enforces by itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace imgcrypt {

// The messages that refuse `password`, in order, one per line, in English or
// Chinese; empty when it is accepted.
std::vector<std::string> PasswordRefusals(std::string_view password, bool english);

}  // namespace imgcrypt
