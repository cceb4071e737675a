// Command line of the `imgcrypt` program: which command, its options and
// files. Parsing is pure so the rules can be tested without running anything.
#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "codec/container.h"

namespace imgcrypt {

enum class CliCommand { Encrypt, Decrypt, Probe, Help, Version };

struct CliOptions {
    CliCommand command = CliCommand::Help;
    EncryptionClass cls = EncryptionClass::Standard;
    bool suffixE = false;  // encrypt: append "E"; decrypt: the suffix flag
    bool english = true;   // language of folder names and texts
    std::optional<std::string> passwordFile;
    bool checkPassword = false;  // probe: read a password and compare it
    bool force = false;          // decrypt: decode files that are not containers
    std::vector<std::string> files;

    // Whether the command needs a password read before the first file.
    bool NeedsPassword() const noexcept {
        return command == CliCommand::Encrypt || command == CliCommand::Decrypt ||
               (command == CliCommand::Probe && (checkPassword || passwordFile.has_value()));
    }
};

// A command line the program cannot act on; the text says what is wrong.
class EUsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Raises EUsageError.
CliOptions ParseCommandLine(std::span<const std::string_view> args);

// The full --help text and the short hint printed after a usage error.
std::string HelpText();
inline constexpr std::string_view kUsageHint = "Try 'imgcrypt --help' for more information.";

}  // namespace imgcrypt
