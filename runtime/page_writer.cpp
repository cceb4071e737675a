#include "runtime/page_writer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/file_system.h"

namespace imgcrypt {

void PageWriter::Expect(const FileHandle& file, std::uint64_t size) noexcept {
    // Below a megabyte the call costs about what it saves.
    constexpr std::uint64_t kWorthReserving = 1 << 20;
    if (size >= kWorthReserving && written_ == 0 && platform::Preallocate(file, size) == 0)
        reserved_ = size;
}

void PageWriter::Clear() noexcept {
    used_ = 0;
    written_ = 0;
    reserved_ = 0;
}

int PageWriter::Write(const FileHandle& file, std::string_view bytes) {
    written_ += bytes.size();
    if (bytes.empty()) return 0;
    if (used_ > 0) {
        // Finish the page begun before.
        const std::size_t take = std::min(kPage - used_, bytes.size());
        std::memcpy(page_.data() + used_, bytes.data(), take);
        used_ += take;
        bytes.remove_prefix(take);
        if (used_ < kPage) return 0;
        used_ = 0;
        if (const int err = platform::WriteAll(file, std::string_view(page_.data(), kPage));
            err != 0)
            return err;
    }
    const std::size_t whole = bytes.size() / kPage * kPage;
    if (whole > 0) {
        if (const int err = platform::WriteAll(file, bytes.substr(0, whole)); err != 0)
            return err;
    }
    used_ = bytes.size() - whole;
    if (used_ > 0) std::memcpy(page_.data(), bytes.data() + whole, used_);
    return 0;
}

int PageWriter::Finish(const FileHandle& file) {
    if (used_ > 0) {
        const std::size_t n = std::exchange(used_, 0);
        if (const int err = platform::WriteAll(file, std::string_view(page_.data(), n)); err != 0)
            return err;
    }
    if (reserved_ != 0 && reserved_ != written_) return platform::Truncate(file, written_);
    return 0;
}

}  // namespace imgcrypt
