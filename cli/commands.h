// The three commands of the `imgcrypt` program and the entry that parses the
// arguments, reads the password and runs one of them.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"

namespace imgcrypt {

inline constexpr int kExitAllDone = 0;
inline constexpr int kExitSomeNotDone = 1;  // a file was skipped, refused or failed
inline constexpr int kExitUsage = 2;        // bad arguments or a refused password

// Each runner goes through all files in order, reports one line per file and
// a summary to `log`, and returns the exit status.
int RunEncrypt(const CliOptions& options, const std::string& password, std::ostream& log);
int RunDecrypt(const CliOptions& options, const std::string& password, std::ostream& log);
// Probe results go to `out`, one line per file; failures and the summary to `log`.
int RunProbe(const CliOptions& options, const std::optional<std::string>& password,
             std::ostream& out, std::ostream& log);

// The whole program for the arguments after its name.
int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& log);

}  // namespace imgcrypt
