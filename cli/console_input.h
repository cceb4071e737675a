// The console side of password input, one implementation per platform:
// cli/console_input_posix.cpp (terminal settings and signals) and
// cli/console_input_windows.cpp (console modes and control handlers).
#pragma once

#include <optional>
#include <string>

namespace imgcrypt {

// Whether standard input is an interactive terminal or console.
bool StdinIsConsole();

// Shows `prompt` on standard error and reads one line from the console
// without showing what is typed; echo comes back on every way out, Ctrl-C
// included. At most kMaxPasswordLine bytes, line break removed. Nothing when
// the input ends before its first character. Raises EPasswordInputError.
std::optional<std::string> ReadConsoleLineWithoutEcho(const char* prompt);

}  // namespace imgcrypt
