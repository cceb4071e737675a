#include "cli/options.h"

#include <algorithm>
#include <array>

namespace imgcrypt {
namespace {

struct OptionRule {
    std::string_view name;
    bool takesValue;
    std::array<bool, 3> allowed;  // encrypt, decrypt, probe
};

constexpr std::array<OptionRule, 6> kOptionRules{{
    {"--class", true, {true, false, false}},
    {"--suffix", true, {true, true, false}},
    {"--lang", true, {true, true, false}},
    {"--password-file", true, {true, true, true}},
    {"--force", false, {false, true, false}},
    {"--check-password", false, {false, false, true}},
}};

std::string_view CommandName(CliCommand command) {
    switch (command) {
        case CliCommand::Encrypt:
            return "encrypt";
        case CliCommand::Decrypt:
            return "decrypt";
        default:
            return "probe";
    }
}

std::size_t CommandIndex(CliCommand command) {
    return command == CliCommand::Encrypt ? 0 : command == CliCommand::Decrypt ? 1 : 2;
}

[[noreturn]] void Refuse(std::string_view text) {
    throw EUsageError(std::string(text));
}

[[noreturn]] void RefuseValue(std::string_view option, std::string_view value,
                              std::string_view expected) {
    Refuse(std::string("invalid value '") + std::string(value) + "' for " + std::string(option) +
           " (expected " + std::string(expected) + ")");
}

void ApplyOption(CliOptions& options, std::string_view name, std::string_view value) {
    if (name == "--class") {
        if (value == "standard") {
            options.cls = EncryptionClass::Standard;
        } else if (value == "high") {
            options.cls = EncryptionClass::High;
        } else if (value == "sealed") {
            options.cls = EncryptionClass::Sealed;
        } else {
            RefuseValue(name, value, "standard, high or sealed");
        }
    } else if (name == "--suffix") {
        if (value == "none") {
            options.suffixE = false;
        } else if (value == "E" || value == "e") {
            options.suffixE = true;
        } else {
            RefuseValue(name, value, "none or E");
        }
    } else if (name == "--lang") {
        if (value == "en") {
            options.english = true;
        } else if (value == "ch") {
            options.english = false;
        } else {
            RefuseValue(name, value, "en or ch");
        }
    } else if (name == "--password-file") {
        if (value.empty()) Refuse("--password-file needs a file name");
        options.passwordFile = std::string(value);
    } else if (name == "--force") {
        options.force = true;
    } else if (name == "--check-password") {
        options.checkPassword = true;
    }
}

bool IsHelpRequest(std::span<const std::string_view> args) {
    for (std::string_view arg : args) {
        if (arg == "--") return false;
        if (arg == "-h" || arg == "--help") return true;
    }
    return false;
}

}  // namespace

CliOptions ParseCommandLine(std::span<const std::string_view> args) {
    CliOptions options;
    if (args.empty()) Refuse("missing command (encrypt, decrypt or probe)");
    if (IsHelpRequest(args) || args[0] == "help") return options;  // command stays Help
    if (args[0] == "--version") {
        options.command = CliCommand::Version;
        return options;
    }
    if (args[0] == "encrypt") {
        options.command = CliCommand::Encrypt;
    } else if (args[0] == "decrypt") {
        options.command = CliCommand::Decrypt;
    } else if (args[0] == "probe") {
        options.command = CliCommand::Probe;
    } else if (args[0].starts_with("-")) {
        Refuse("the command (encrypt, decrypt or probe) must come first, before '" +
               std::string(args[0]) + "'");
    } else {
        Refuse("unknown command '" + std::string(args[0]) +
               "' (expected encrypt, decrypt or probe)");
    }

    bool onlyFiles = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // A lone "-" is a file name; "--" makes every later argument one.
        if (onlyFiles || arg == "-" || !arg.starts_with("-")) {
            options.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const auto rule = std::find_if(kOptionRules.begin(), kOptionRules.end(),
                                       [&](const OptionRule& s) { return s.name == name; });
        if (rule == kOptionRules.end()) Refuse("unknown option '" + std::string(arg) + "'");
        if (!rule->allowed[CommandIndex(options.command)]) {
            Refuse("option " + std::string(name) + " does not apply to " +
                   std::string(CommandName(options.command)));
        }
        std::string_view value;
        if (rule->takesValue) {
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                Refuse("option " + std::string(name) + " needs a value");
            }
        } else if (equals != std::string_view::npos) {
            Refuse("option " + std::string(name) + " takes no value");
        }
        ApplyOption(options, name, value);
    }
    if (options.files.empty()) Refuse("missing FILE");
    return options;
}

}  // namespace imgcrypt
