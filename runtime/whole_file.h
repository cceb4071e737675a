// Reading and writing whole files: sources and containers read piece by
// piece, decrypted output written in place of the old, folders and sizes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/errors.h"
#include "runtime/file_handle.h"

namespace imgcrypt {

// A file read piece by piece through the caller's buffers, in order or at
// any offset, so large files need no whole-file buffer. Holds the shared
// lock while open; never opens the file for writing.
class FileReader {
  public:
    // Raises the error of `errors`.
    explicit FileReader(const std::string& path, FileErrors errors = FileErrors::WholeFile);

    const std::string& path() const noexcept { return path_; }

    // Size when opened; later growth is ignored by callers that read this much.
    std::uint64_t size() const noexcept { return size_; }

    // Fills exactly n bytes, from where the last Read stopped, or raises: a
    // file that ends early has shrunk since it was opened, and a short result
    // would be silently wrong.
    void Read(char* dst, std::size_t n);

    // The same for the n bytes at `offset`.
    void ReadAt(std::uint64_t offset, char* dst, std::size_t n);

  private:
    [[noreturn]] void Raise(int err) const;

    std::string path_;
    FileErrors errors_;
    FileHandle file_;
    std::uint64_t size_ = 0;
    std::uint64_t next_ = 0;  // where Read goes on
};

// Writes `bytes` through a ReplacingFile (runtime/replacing_file.h). Raises
// EFCreateError naming `path`; on failure nothing is left behind and an
// existing `path` is untouched.
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
