#include "runtime/whole_file.h"

#include <utility>

#include "runtime/errors.h"
#include "runtime/file_system.h"
#include "runtime/replacing_file.h"

namespace imgcrypt {

FileReader::FileReader(const std::string& path, FileErrors errors) : path_(path), errors_(errors) {
    if (const int err = platform::OpenForSharedReading(path, file_, &size_); err != 0) Raise(err);
}

void FileReader::Raise(int err) const {
    if (errors_ == FileErrors::LineText) throw EInOutError(InOutCodeFromSystemError(err, path_));
    throw EFOpenError(path_, err);
}

void FileReader::Read(char* dst, std::size_t n) {
    ReadAt(next_, dst, n);
    next_ += n;
}

void FileReader::ReadAt(std::uint64_t offset, char* dst, std::size_t n) {
    while (n > 0) {
        std::size_t got = 0;
        if (const int err = platform::ReadAt(file_, offset, dst, n, got); err != 0) Raise(err);
        if (got == 0) Raise(platform::kErrorFileEndedEarly);
        offset += got;
        dst += got;
        n -= got;
    }
}

void WriteWholeFileReplacing(const std::string& path, std::string_view bytes) {
    ReplacingFile writer(path);
    writer.Write(bytes);
    writer.Commit();
}

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
    FileHandle file;
    std::uint64_t size = 0;
    if (platform::OpenForSharedReading(path, file, &size) != 0) return std::nullopt;
    return size;
}

FolderCreation CreateFolder(const std::string& path) {
    const int err = platform::MakeFolder(path);
    if (err == 0 || FolderExists(path)) return {true, {}};
    return {false, SystemErrorText(err)};
}

}  // namespace imgcrypt
