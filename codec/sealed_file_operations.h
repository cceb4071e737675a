// One sealed file at a time: seal a source into a container, open a
// container into the source bytes, probe one. Names and folders are those
// of the other classes (file_operations.h). Outputs are written under a
// temporary name and put in place only when complete: a failure, a refusal
// or a cancel leaves no output, and an existing file of that name untouched.
#pragma once

#include <string>
#include <string_view>

#include "codec/sealed_format.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_writer.h"

namespace imgcrypt {

// Whether the file at `path` is a sealed container of any version, told by
// its first line alone. Raises EFOpenError when it cannot be read.
bool IsSealedFile(const std::string& path);

// Seals `path` with the run's key and a fresh file nonce into
// EncryptedOutputPath (the output folder must exist); returns the output
// path. Any size. Raises EFOpenError for the source, EFCreateError for the
// container, ECancelled when `progress` says stop.
std::string SealFile(const std::string& path, const SealingKey& key, std::string_view dirEncrypted,
                     std::string_view nameSuffix, const SealedProgressFn& progress = {});

// Opens the sealed container at `path` with the run's keys into
// DecryptedOutputPath (the output folder must exist); returns the output
// path. Every line and chunk is checked. Raises EWrongPassword,
// EDamagedContainer, EUnsupportedContainer, EKeyDerivationMemory,
// EFOpenError, EFCreateError, ECancelled.
std::string OpenSealedFile(const std::string& path, OpeningKeys& keys, bool suffixFlag,
                           std::string_view dirDecrypted, const SealedProgressFn& progress = {});

// Reads the start of a sealed container only: checks its lines and header
// and returns the header; with keys also checks the password (one key
// derivation unless the keys have it). Raises as OpenSealedFile does.
SealedHeader ProbeSealedFile(const std::string& path, OpeningKeys* keys);

}  // namespace imgcrypt
