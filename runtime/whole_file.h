// Whole-file reading and writing for source files and decrypted output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace imgcrypt {

// Reads the whole file (shared lock: others may read, none may write while it
// is open). Raises EFOpenError.
std::string ReadWholeFile(const std::string& path);

// Writes `bytes` to a temporary file beside `path` and renames it over `path`
// when complete (exclusive lock while writing). Raises EFCreateError naming
// `path`; on failure nothing is left behind and an existing `path` is untouched.
void WriteWholeFileReplacing(const std::string& path, std::string_view bytes);

// Size of the file in bytes, or nothing when it cannot be opened for reading.
std::optional<std::uint64_t> FileSizeOf(const std::string& path);

// Creates one folder; an existing folder or a failure is not reported.
void CreateFolder(const std::string& path) noexcept;

}  // namespace imgcrypt
