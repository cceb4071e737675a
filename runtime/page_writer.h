// Bytes for a file written from its start, passed on in whole pages at
// page-aligned offsets: the page cache takes such writes far faster than
// ones that start or end inside a page. Large pieces go straight through;
// only the part of a page that a piece leaves unfinished waits for the next.
// Internal to runtime/.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/file_handle.h"

namespace imgcrypt {

class PageWriter {
  public:
    static constexpr std::size_t kPage = 4096;

    // The new, empty file will have `size` bytes: room for them is set
    // aside at once where the file system can, which makes writing much
    // cheaper. Finish cuts the file back should fewer bytes come.
    void Expect(const FileHandle& file, std::uint64_t size) noexcept;

    // Each returns 0 or the platform's error code of a failed write.
    int Write(const FileHandle& file, std::string_view bytes);
    // Writes what is left over of the last page; the file then ends where
    // the bytes written end.
    int Finish(const FileHandle& file);
    // Forgets everything, for a file begun anew.
    void Clear() noexcept;

  private:
    std::array<char, kPage> page_{};
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;  // passed to Write so far
    std::uint64_t reserved_ = 0;  // the file's size once room was set aside
};

}  // namespace imgcrypt
