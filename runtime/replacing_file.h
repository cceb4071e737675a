// A file written piece by piece under a temporary name beside its final
// path, put in place only by Commit: until then an existing file of that
// name stays untouched, and one dropped without Commit (an error, a cancel)
// leaves nothing behind. Writes reach the system in whole pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/errors.h"
#include "runtime/file_handle.h"
#include "runtime/page_writer.h"

namespace imgcrypt {

class ReplacingFile {
  public:
    // Creates the temporary file (shared with nobody). Every failure here
    // raises the error of `errors` naming `path`.
    explicit ReplacingFile(std::string path, FileErrors errors = FileErrors::WholeFile);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // The file will have `size` bytes: room is set aside at once where that
    // makes writing cheaper (see PageWriter::Expect).
    void Expect(std::uint64_t size) noexcept { pages_.Expect(file_, size); }

    void Write(std::string_view bytes);

    // Drops everything written so far and begins again, empty.
    void StartOver();

    // Closes the file and renames it over the final path.
    void Commit();

    const std::string& path() const noexcept { return path_; }

  private:
    void Open();
    void Abandon() noexcept;
    [[noreturn]] void Fail(int err);
    [[noreturn]] void Raise(int err) const;

    std::string path_;
    FileErrors errors_;
    std::string tempPath_;  // empty once committed or given up
    FileHandle file_;
    PageWriter pages_;
};

}  // namespace imgcrypt
