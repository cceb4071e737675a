#include "cli/commands.h"

#include <exception>
#include <optional>
#include <set>
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
// and the run goes on with the next file.
template <typename Work>
Outcome Guarded(const std::string& file, std::ostream& log, Work&& work) {
    try {
        if (FolderExists(file)) {
            Report(log, "failed ", file, ": is a folder, not a file");
            return Outcome::Failed;
        }
        return work();
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
    // Opened once: for its size, then for its bytes.
    FileReader source(file);
    if (IsTooLargeToEncrypt(source.size())) {
        Report(log, "skipped ", file, ": 5000 KB or more");
        return Outcome::Skipped;
    }
    if (!folders.Make(file, inputs.dirEncrypted)) return Outcome::Failed;
    Report(log, "encrypted ", file, " -> ", encryption(source, inputs));
    return Outcome::Done;
}

Outcome DecryptOne(const std::string& file, const std::string& password, const CliOptions& options,
                   OutputFolders& folders, std::ostream& log) {
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
    // One open: the probe looks at the file's ends, the decoding reads the rest.
    ContainerFile container(file);
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

}  // namespace

int RunEncrypt(const CliOptions& options, const std::string& password, std::ostream& log) {
    EncryptionInputs inputs;
    inputs.password = password;
    inputs.cls = options.cls;
    inputs.nameSuffix = options.suffixE ? "E" : "";
    inputs.dirEncrypted = LanguageTableFor(options.english).messages.dirEncrypted;

    Tally tally;
    OutputFolders folders(log);
    for (const std::string& file : options.files) {
        tally.Count(Guarded(file, log, [&] { return EncryptOne(file, inputs, folders, log); }));
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
    OutputFolders folders(log);
    for (const std::string& file : options.files) {
        tally.Count(
            Guarded(file, log, [&] { return DecryptOne(file, password, options, folders, log); }));
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
