#include <optional>

#include "cli/commands.h"
#include "cli/password_input.h"
#include "cli/password_rules.h"
#include "codec/secret_bytes.h"
#include "imgcrypt_version.h"

namespace imgcrypt {

int RunCommandLine(std::span<const std::string_view> args, std::ostream& out, std::ostream& log) {
    CliOptions options;
    try {
        options = ParseCommandLine(args);
    } catch (const EUsageError& e) {
        log << "imgcrypt: " << e.what() << '\n' << kUsageHint << std::endl;
        return kExitUsage;
    }
    if (options.command == CliCommand::Help) {
        out << HelpText() << std::flush;
        return kExitAllDone;
    }
    if (options.command == CliCommand::Version) {
        out << "imgcrypt " << IMGCRYPT_VERSION << std::endl;
        return kExitAllDone;
    }

    std::optional<std::string> password;
    // The password is gone from memory once the run is over, however it ends.
    struct Wipe {
        std::optional<std::string>& text;
        ~Wipe() {
            if (text) WipeBytes(text->data(), text->size());
        }
    } wipe{password};
    if (options.NeedsPassword()) {
        try {
            password = ReadTypedPassword(options.passwordFile);
        } catch (const EPasswordInputError& e) {
            log << "imgcrypt: " << e.what() << std::endl;
            return kExitUsage;
        }
    }
    if (options.command == CliCommand::Probe) return RunProbe(options, password, out, log);

    // The probe only compares; the rules guard what gets written or decoded.
    const std::vector<std::string> refusals = PasswordRefusals(*password, options.english);
    if (!refusals.empty()) {
        for (const std::string& message : refusals) log << message << '\n';
        log << std::flush;
        return kExitUsage;
    }
    return options.command == CliCommand::Encrypt ? RunEncrypt(options, *password, log)
                                                  : RunDecrypt(options, *password, log);
}

}  // namespace imgcrypt
