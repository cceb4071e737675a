// One file at a time: encrypt into a container, decrypt a container, probe a
// file for class and password.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_writer.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

class ContainerReader;

struct EncryptionInputs {
    std::string password;  // typed password
    EncryptionClass cls = EncryptionClass::Standard;
    std::string nameSuffix;    // "" or "E"
    std::string dirEncrypted;  // output sub-folder name of the current language
    // Sealed class only: the run's key (one derivation per run), and the
    // hook called after every chunk.
    const SealingKey* sealingKey = nullptr;
    SealedProgressFn progress = {};
};

// folder of `path` + dirEncrypted + separator + name of `path` + suffix.
std::string EncryptedOutputPath(std::string_view path, std::string_view dirEncrypted,
                                std::string_view nameSuffix);

// Reads `path` and writes its container to EncryptedOutputPath (the output
// folder must exist). Returns the output path. Raises EFOpenError for the
// source, EInOutError for the container. The source is never opened for writing.
// The sealed class goes to SealFile (sealed_file_operations.h).
std::string encryption(const std::string& path, const EncryptionInputs& inputs);
// The same for a source the caller has opened already (to learn its size).
std::string encryption(FileReader& source, const EncryptionInputs& inputs);

// Name of the decrypted file for a container name: with the suffix flag one
// trailing 'E'/'e' is removed; without it, only when the extension (after the
// last '.' of the name) is longer than 3 characters.
std::string DecryptedName(std::string_view containerName, bool suffixFlag);

// folder of `path` + dirDecrypted + separator + DecryptedName.
std::string DecryptedOutputPath(std::string_view path, std::string_view dirDecrypted,
                                bool suffixFlag);

// Reads the container `path` and writes the decoded bytes (the output folder
// must exist). Returns the output path. Raises EInOutError for the container,
// EFCreateError for the output.
std::string decryption(const std::string& path, bool suffixFlag, const std::string& dirDecrypted);

// Reads `path` and tells whether it is a container and whether the typed
// password is the one stored in it. Raises EFOpenError when it cannot be read;
// never fails on its content.
ProbeResult decryption1(const std::string& path, std::string_view typedPassword);

// For callers that probe every file before decrypting it (the command line):
// both on one open file, read once where its content allows. Read failures
// raise EFOpenError, as decryption1's do.
class ContainerFile {
  public:
    explicit ContainerFile(const std::string& path);
    ~ContainerFile();
    ContainerFile(const ContainerFile&) = delete;
    ContainerFile& operator=(const ContainerFile&) = delete;

    // Whether the file begins as a sealed container: that is opened by
    // OpenSealedFile (sealed_file_operations.h), never decoded here.
    bool IsSealed() const noexcept;

    // decryption1's answer. Final unless ProbeIsFinal() says otherwise: it
    // then rests on a first look at the file's ends (see Decrypt).
    ProbeResult Probe(std::string_view typedPassword);
    bool ProbeIsFinal() const noexcept;
    // decryption1's answer, final, reading the whole file when needed.
    ProbeResult FinalProbe(std::string_view typedPassword);

    // Writes what decryption writes for this container and returns the
    // output path (EFCreateError). Returns nothing and writes nothing when a
    // Probe answer that was not final proves to need the whole file: ask
    // FinalProbe, then decide again.
    std::optional<std::string> Decrypt(bool suffixFlag, const std::string& dirDecrypted);

  private:
    FileReader file_;
    std::unique_ptr<ContainerReader> reader_;
};

}  // namespace imgcrypt
