// Whole-file reading and writing for source files and decrypted output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/file_handle.h"

namespace imgcrypt {

// Reads the whole file (shared lock: others may read, none may write while it
// is open). Raises EFOpenError.
std::string ReadWholeFile(const std::string& path);

// A source file read piece by piece through the caller's buffers, so large
// files need no whole-file buffer. Holds the shared lock while open; never
// opens the file for writing.
class SourceFileReader {
  public:
    // Raises EFOpenError, as ReadWholeFile does.
    explicit SourceFileReader(const std::string& path);

    // Size when opened; later growth is ignored by callers that read this much.
    std::uint64_t size() const noexcept { return size_; }

    // Fills exactly n bytes or raises EFOpenError: a file that ends early has
    // shrunk since it was opened, and a short result would be silently wrong.
    void Read(char* dst, std::size_t n);

  private:
    std::string path_;
    FileHandle file_;
    std::uint64_t size_ = 0;
};

// Writes `bytes` to a temporary file beside `path` and renames it over `path`
// when complete (exclusive lock while writing). Raises EFCreateError naming
// `path`; on failure nothing is left behind and an existing `path` is untouched.
void WriteWholeFileReplacing(const std::string& path, std::string_view bytes);

// Size of the file in bytes, or nothing when it cannot be opened for reading.
std::optional<std::uint64_t> FileSizeOf(const std::string& path);

// Outcome of CreateFolder: whether the folder is there afterwards and, when
// it is not, the system's reason.
struct FolderCreation {
    bool exists = false;
    std::string reason;
};

// Creates one folder (not its parents); an existing folder counts as made.
FolderCreation CreateFolder(const std::string& path);

// Whether `path` names an existing regular file, or an existing folder.
bool FileExists(const std::string& path) noexcept;
bool FolderExists(const std::string& path) noexcept;

}  // namespace imgcrypt
