// Bytes for a file written from its start, passed on in whole pages at
// page-aligned offsets: the page cache takes such writes far faster than
// ones that start or end inside a page. Large pieces go straight through;
// only the part of a page that a piece leaves unfinished waits for the next.
// Internal to runtime/.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "runtime/file_handle.h"

namespace imgcrypt {

class PageWriter {
  public:
    static constexpr std::size_t kPage = 4096;

    // Each returns 0 or the platform's error code of a failed write.
    int Write(const FileHandle& file, std::string_view bytes);
    // Writes what is left over of the last page.
    int Flush(const FileHandle& file);
    // Forgets what is held back, for a file begun anew.
    void Clear() noexcept { used_ = 0; }

  private:
    std::array<char, kPage> page_{};
    std::size_t used_ = 0;
};

}  // namespace imgcrypt
