// One file at a time: encrypt into a container, decrypt a container, probe a
// file for class and password.
#pragma once

#include <string>
#include <string_view>

#include "codec/container.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_writer.h"

namespace imgcrypt {

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

struct ProbeResult {
    bool isContainer = false;
    bool highLevel = false;
    bool passwordMatch = false;
};

// Reads `path` and tells whether it is a container and whether the typed
// password is the one stored in it. Raises EFOpenError when it cannot be read;
// never fails on its content.
ProbeResult decryption1(const std::string& path, std::string_view typedPassword);

// For callers that probe every file before decrypting it: the same two
// steps on file bytes read once (ReadWholeFile). ProbeFileBytes answers as
// decryption1; DecryptFileBytes writes what decryption would write for the
// container at `path` and returns the output path (EFCreateError).
ProbeResult ProbeFileBytes(std::string_view fileBytes, std::string_view typedPassword);
std::string DecryptFileBytes(std::string fileBytes, std::string_view path, bool suffixFlag,
                             const std::string& dirDecrypted);

}  // namespace imgcrypt
