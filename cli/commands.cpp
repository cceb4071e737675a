#include "cli/commands.h"

#include <exception>
#include <string>
#include <utility>

#include "batch/language_tables.h"
#include "batch/run_rules.h"
#include "codec/file_operations.h"
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
// and the run goes on with the next file.
template <typename Work>
Outcome Guarded(const std::string& file, std::ostream& log, Work&& work) {
    try {
        if (FolderExists(file)) {
            log << "failed " << file << ": is a folder, not a file" << std::endl;
            return Outcome::Failed;
        }
        return work();
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
    // raises the real reason, which is reported as a failure.
    const std::optional<std::uint64_t> size = FileSizeOf(file);
    if (size && IsTooLargeToEncrypt(*size)) {
        log << "skipped " << file << ": " << kSizeLimitKilobytes << " KB or more" << std::endl;
        return Outcome::Skipped;
    }
    if (size && !MakeOutputFolder(file, inputs.dirEncrypted, log)) return Outcome::Failed;
    const std::string output = encryption(file, inputs);
    log << "encrypted " << file << " -> " << output << std::endl;
    return Outcome::Done;
}

Outcome DecryptOne(const std::string& file, const std::string& password, const CliOptions& options,
                   std::ostream& log) {
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

}  // namespace

int RunEncrypt(const CliOptions& options, const std::string& password, std::ostream& log) {
    EncryptionInputs inputs;
    inputs.password = password;
    inputs.cls = options.cls;
    inputs.nameSuffix = options.suffixE ? "E" : "";
    inputs.dirEncrypted = LanguageTableFor(options.english).messages.dirEncrypted;

    Tally tally;
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, log, [&] { return EncryptOne(file, inputs, log); }));
    }
    const int total = static_cast<int>(options.files.size());
    log << tally.done << " of " << total << " files encrypted, " << tally.skipped << " skipped, "
        << tally.failed << " failed" << std::endl;
    if (tally.skipped > 0) {
        // Failed files are left out so that the "done" count stays true.
        log << OversizeSummary(options.english, tally.skipped, total - tally.failed) << std::endl;
    }
    return tally.ExitStatus();
}

int RunDecrypt(const CliOptions& options, const std::string& password, std::ostream& log) {
    Tally tally;
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, log, [&] { return DecryptOne(file, password, options, log); }));
    }
    log << tally.done << " of " << options.files.size() << " files decrypted, " << tally.refused
        << " refused, " << tally.failed << " failed" << std::endl;
    return tally.ExitStatus();
}

int RunProbe(const CliOptions& options, const std::optional<std::string>& password,
             std::ostream& out, std::ostream& log) {
    Tally tally;
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, log, [&] {
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
