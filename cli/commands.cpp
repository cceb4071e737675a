#include "cli/commands.h"

#include <exception>
#include <optional>
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

// The one place where an error of a file's work is caught: it is reported
// (a sealed container's refusal in the language of the run) and the run goes
// on with the next file.
template <typename Work>
Outcome Guarded(const std::string& file, bool english, std::ostream& log, Work&& work) {
    try {
        if (FolderExists(file)) {
            log << "failed " << file << ": is a folder, not a file" << std::endl;
            return Outcome::Failed;
        }
        return work();
    } catch (const EWrongPassword& e) {
        log << "refused " << file << ": " << SealedErrorText(e, english) << std::endl;
        return Outcome::Refused;
    } catch (const ESealedError& e) {
        log << "failed " << file << ": " << SealedErrorText(e, english) << std::endl;
        return Outcome::Failed;
    } catch (const std::exception& e) {
        log << "failed " << file << ": " << DefaultHandlerText(e.what()) << std::endl;
        return Outcome::Failed;
    }
}

// Creates the output folder beside `file`; false (reported) when it is not
// there afterwards, so the failure names the folder rather than the file.
bool MakeOutputFolder(const std::string& file, std::string_view subFolder, std::ostream& log) {
    const std::string folder = OutputFolder(file, subFolder);
    const FolderCreation made = CreateFolder(folder);
    if (made.exists) return true;
    log << "failed " << file << ": cannot create the folder \"" << folder << "\": " << made.reason
        << std::endl;
    return false;
}

Outcome EncryptOne(const std::string& file, const EncryptionInputs& inputs, std::ostream& log) {
    // A file whose size cannot be read is not "too large": encrypting it
    // raises the real reason, which is reported as a failure. Sealed files
    // have no size limit.
    const std::optional<std::uint64_t> size = FileSizeOf(file);
    if (size && inputs.cls != EncryptionClass::Sealed && IsTooLargeToEncrypt(*size)) {
        log << "skipped " << file << ": " << kSizeLimitKilobytes << " KB or more" << std::endl;
        return Outcome::Skipped;
    }
    if (size && !MakeOutputFolder(file, inputs.dirEncrypted, log)) return Outcome::Failed;
    const std::string output = encryption(file, inputs);
    log << "encrypted " << file << " -> " << output << std::endl;
    return Outcome::Done;
}

// A sealed container is told by its first line and opened only with its
// password, every chunk checked; never by the lenient path, --force or not.
Outcome OpenSealedOne(const std::string& file, OpeningKeys& keys, const CliOptions& options,
                      std::ostream& log) {
    const std::string dir(LanguageTableFor(options.english).messages.dirDecrypted);
    ProbeSealedFile(file, &keys);  // a wrong password makes no folder
    if (!MakeOutputFolder(file, dir, log)) return Outcome::Failed;
    const std::string output = OpenSealedFile(file, keys, options.suffixE, dir);
    log << "decrypted " << file << " -> " << output << std::endl;
    return Outcome::Done;
}

Outcome DecryptOne(const std::string& file, const std::string& password, OpeningKeys& keys,
                   const CliOptions& options, std::ostream& log) {
    if (IsSealedFile(file)) return OpenSealedOne(file, keys, options, log);
    const LanguageTable& table = LanguageTableFor(options.english);
    // Read once: the probe and the decoding work on the same bytes.
    std::string bytes = ReadWholeFile(file);
    const ProbeResult probe = ProbeFileBytes(bytes, password);
    if (!probe.isContainer && !options.force) {
        log << "refused " << file << ": " << table.commandLine.notEncrypted << std::endl;
        return Outcome::Refused;
    }
    // Only containers carry a password worth comparing; --force decodes
    // anything else as it is.
    if (probe.isContainer && !probe.passwordMatch) {
        log << "refused " << file << ": " << table.messages.msgWrongPassword << std::endl;
        return Outcome::Refused;
    }
    const std::string dir(table.messages.dirDecrypted);
    if (!MakeOutputFolder(file, dir, log)) return Outcome::Failed;
    const std::string output = DecryptFileBytes(std::move(bytes), file, options.suffixE, dir);
    log << "decrypted " << file << " -> " << output << std::endl;
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
    for (const std::string& file : options.files) {
        if (noKey) {
            log << "failed " << file << ": " << *noKey << std::endl;
            tally.Count(Outcome::Failed);
            continue;
        }
        tally.Count(
            Guarded(file, options.english, log, [&] { return EncryptOne(file, inputs, log); }));
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
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, options.english, log,
                            [&] { return DecryptOne(file, password, keys, options, log); }));
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
