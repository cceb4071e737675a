#include "cli/commands.h"

#include <exception>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "batch/language_tables.h"
#include "batch/run_rules.h"
#include "batch/sealed_messages.h"
#include "codec/file_operations.h"
#include "codec/sealed_errors.h"
#include "codec/sealed_file_operations.h"
#include "codec/secret_bytes.h"
#include "runtime/errors.h"
#include "runtime/whole_file.h"

namespace imgcrypt {
namespace {

enum class Outcome { Done, Skipped, Refused, Failed };

struct Tally {
    int done = 0;
    int skipped = 0;
    int refused = 0;
    int failed = 0;

    void Count(Outcome outcome) {
        switch (outcome) {
            case Outcome::Done:
                ++done;
                break;
            case Outcome::Skipped:
                ++skipped;
                break;
            case Outcome::Refused:
                ++refused;
                break;
            case Outcome::Failed:
                ++failed;
                break;
        }
    }
    int ExitStatus() const {
        return skipped + refused + failed == 0 ? kExitAllDone : kExitSomeNotDone;
    }
};

// A line of the run's report, handed over in one piece: on an unbuffered
// stream each piece would be a system call of its own, several per file.
template <typename... Parts>
void Report(std::ostream& log, const Parts&... parts) {
    std::string line;
    ((line += parts), ...);
    line += '\n';
    log << line << std::flush;
}

// The one place where an error of a file's work is caught: it is reported
// (a sealed container's refusal in the language of the run) and the run goes
// on with the next file.
template <typename Work>
Outcome Guarded(const std::string& file, bool english, std::ostream& log, Work&& work) {
    try {
        if (FolderExists(file)) {
            Report(log, "failed ", file, ": is a folder, not a file");
            return Outcome::Failed;
        }
        return work();
    } catch (const EWrongPassword& e) {
        Report(log, "refused ", file, ": ", SealedErrorText(e, english));
        return Outcome::Refused;
    } catch (const ESealedError& e) {
        Report(log, "failed ", file, ": ", SealedErrorText(e, english));
        return Outcome::Failed;
    } catch (const std::exception& e) {
        Report(log, "failed ", file, ": ", DefaultHandlerText(e.what()));
        return Outcome::Failed;
    }
}

// The output folders of one run: each is created, or found to be there,
// once; false (reported) when it is not there afterwards, so the failure
// names the folder rather than the file.
class OutputFolders {
  public:
    explicit OutputFolders(std::ostream& log) : log_(log) {}

    bool Make(const std::string& file, std::string_view subFolder) {
        const std::string folder = OutputFolder(file, subFolder);
        if (made_.contains(folder)) return true;
        const FolderCreation made = CreateFolder(folder);
        if (made.exists) {
            made_.insert(folder);
            return true;
        }
        Report(log_, "failed ", file, ": cannot create the folder \"", folder, "\": ", made.reason);
        return false;
    }

  private:
    std::ostream& log_;
    std::set<std::string> made_;
};

Outcome EncryptOne(const std::string& file, const EncryptionInputs& inputs, OutputFolders& folders,
                   std::ostream& log) {
    // Opened once: for its size, then for its bytes. Sealed files have no
    // size limit.
    FileReader source(file);
    if (inputs.cls != EncryptionClass::Sealed && IsTooLargeToEncrypt(source.size())) {
        Report(log, "skipped ", file, ": ", std::to_string(kSizeLimitKilobytes), " KB or more");
        return Outcome::Skipped;
    }
    if (!folders.Make(file, inputs.dirEncrypted)) return Outcome::Failed;
    Report(log, "encrypted ", file, " -> ", encryption(source, inputs));
    return Outcome::Done;
}

// A sealed container is told by its first line and opened only with its
// password, every chunk checked; never by the lenient path, --force or not.
Outcome OpenSealedOne(const std::string& file, OpeningKeys& keys, const CliOptions& options,
                      OutputFolders& folders, std::ostream& log) {
    const std::string dir(LanguageTableFor(options.english).messages.dirDecrypted);
    ProbeSealedFile(file, &keys);  // a wrong password makes no folder
    if (!folders.Make(file, dir)) return Outcome::Failed;
    Report(log, "decrypted ", file, " -> ", OpenSealedFile(file, keys, options.suffixE, dir));
    return Outcome::Done;
}

Outcome DecryptOne(const std::string& file, const std::string& password, OpeningKeys& keys,
                   const CliOptions& options, OutputFolders& folders, std::ostream& log) {
    // One open: its first bytes tell a sealed container, the probe looks at
    // the file's ends, the decoding reads the rest.
    ContainerFile container(file);
    if (container.IsSealed()) return OpenSealedOne(file, keys, options, folders, log);
    const LanguageTable& table = LanguageTableFor(options.english);
    // Only containers carry a password worth comparing; --force decodes
    // anything else as it is.
    const auto refusal = [&](const ProbeResult& probe) -> std::string_view {
        if (!probe.isContainer && !options.force) return table.commandLine.notEncrypted;
        if (probe.isContainer && !probe.passwordMatch) return table.messages.msgWrongPassword;
        return {};
    };
    const auto refused = [&](std::string_view why) {
        Report(log, "refused ", file, ": ", why);
        return Outcome::Refused;
    };
    std::string_view why = refusal(container.Probe(password));
    if (!why.empty() && !container.ProbeIsFinal()) why = refusal(container.FinalProbe(password));
    if (!why.empty()) return refused(why);
    const std::string dir(table.messages.dirDecrypted);
    if (!folders.Make(file, dir)) return Outcome::Failed;
    std::optional<std::string> output;
    while (!(output = container.Decrypt(options.suffixE, dir))) {
        // The first look could not see a NUL or byte 26 inside: decided again
        // on the whole file.
        why = refusal(container.FinalProbe(password));
        if (!why.empty()) return refused(why);
    }
    Report(log, "decrypted ", file, " -> ", *output);
    return Outcome::Done;
}

// The probe's words for a sealed container: its lines and header are
// checked, and with a password the header's tag (one key derivation).
std::string ProbeSealedLine(const std::string& file, OpeningKeys* keys) {
    std::string line = "sealed container";
    try {
        ProbeSealedFile(file, keys);
        if (keys != nullptr) line += ", password matches";
    } catch (const EWrongPassword&) {
        line += ", password does not match";
    }
    return line;
}

}  // namespace

int RunEncrypt(const CliOptions& options, const std::string& password, std::ostream& log) {
    EncryptionInputs inputs;
    inputs.password = password;
    inputs.cls = options.cls;
    inputs.nameSuffix = options.suffixE ? "E" : "";
    inputs.dirEncrypted = LanguageTableFor(options.english).messages.dirEncrypted;

    // One key derivation for the whole run, before the first file; every
    // file still gets its own nonce and keys.
    std::optional<SealingKey> sealingKey;
    std::optional<std::string> noKey;
    if (options.cls == EncryptionClass::Sealed) {
        try {
            sealingKey.emplace(password);
            inputs.sealingKey = &*sealingKey;
        } catch (const ESealedError& e) {
            noKey = SealedErrorText(e, options.english);
        }
    }

    Tally tally;
    OutputFolders folders(log);
    for (const std::string& file : options.files) {
        if (noKey) {
            Report(log, "failed ", file, ": ", *noKey);
            tally.Count(Outcome::Failed);
            continue;
        }
        tally.Count(Guarded(file, options.english, log,
                            [&] { return EncryptOne(file, inputs, folders, log); }));
    }
    const int total = static_cast<int>(options.files.size());
    log << tally.done << " of " << total << " files encrypted, " << tally.skipped << " skipped, "
        << tally.failed << " failed" << std::endl;
    if (tally.skipped > 0) {
        // Failed files are left out so that the "done" count stays true.
        log << OversizeSummary(options.english, tally.skipped, total - tally.failed) << std::endl;
    }
    WipeBytes(inputs.password.data(), inputs.password.size());
    return tally.ExitStatus();
}

int RunDecrypt(const CliOptions& options, const std::string& password, std::ostream& log) {
    // Keys of sealed containers, derived once per salt and cost met.
    OpeningKeys keys(password);
    Tally tally;
    OutputFolders folders(log);
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, options.english, log, [&] {
            return DecryptOne(file, password, keys, options, folders, log);
        }));
    }
    log << tally.done << " of " << options.files.size() << " files decrypted, " << tally.refused
        << " refused, " << tally.failed << " failed" << std::endl;
    return tally.ExitStatus();
}

int RunProbe(const CliOptions& options, const std::optional<std::string>& password,
             std::ostream& out, std::ostream& log) {
    std::optional<OpeningKeys> keys;
    if (password) keys.emplace(*password);
    Tally tally;
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, options.english, log, [&] {
            if (IsSealedFile(file)) {
                out << file << ": " << ProbeSealedLine(file, keys ? &*keys : nullptr) << std::endl;
                return Outcome::Done;
            }
            const ProbeResult probe = decryption1(file, password.value_or(""));
            out << file << ": "
                << (probe.isContainer
                        ? (probe.highLevel ? "container, high class" : "container, standard class")
                        : "not a container");
            if (password) {
                out << (probe.passwordMatch ? ", password matches" : ", password does not match");
            }
            out << std::endl;
            return Outcome::Done;
        }));
    }
    log << tally.done << " of " << options.files.size() << " files probed, " << tally.failed
        << " failed" << std::endl;
    return tally.ExitStatus();
}

}  // namespace imgcrypt
