#include "runtime/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "runtime/errors.h"
#include "runtime/posix_file.h"

namespace imgcrypt {

std::string ReadWholeFile(const std::string& path) {
    posix::FileDescriptor fd = posix::OpenForSharedReading(path);
    if (!fd.valid()) throw EFOpenError(path, errno);
    std::string bytes;
    if (!posix::ReadToEnd(fd.get(), bytes)) throw EFOpenError(path, errno);
    return bytes;
}

SourceFileReader::SourceFileReader(const std::string& path) : path_(path) {
    posix::FileDescriptor fd = posix::OpenForSharedReading(path);
    if (!fd.valid()) throw EFOpenError(path, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) throw EFOpenError(path, errno);
    size_ = static_cast<std::uint64_t>(info.st_size);
    fd_ = fd.release();
}

SourceFileReader::SourceFileReader(SourceFileReader&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

SourceFileReader& SourceFileReader::operator=(SourceFileReader&& other) noexcept {
    if (this != &other) {
        posix::FileDescriptor(fd_).close();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

SourceFileReader::~SourceFileReader() {
    posix::FileDescriptor(fd_).close();
}

void SourceFileReader::Read(char* dst, std::size_t n) {
    std::size_t got = 0;
    if (!posix::ReadFully(fd_, dst, n, got)) throw EFOpenError(path_, errno);
    if (got < n) throw EFOpenError(path_, EIO);
}

void WriteWholeFileReplacing(const std::string& path, std::string_view bytes) {
    std::string tempPath;
    posix::FileDescriptor fd = posix::CreateTempBeside(path, tempPath);
    if (!fd.valid()) throw EFCreateError(path, errno);
    const auto fail = [&](int err) {
        fd.close();
        ::unlink(tempPath.c_str());
        throw EFCreateError(path, err);
    };
    if (!posix::WriteAll(fd.get(), bytes)) fail(errno);
    if (const int err = fd.close(); err != 0) fail(err);
    if (::rename(tempPath.c_str(), path.c_str()) != 0) fail(errno);
}

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
    posix::FileDescriptor fd = posix::OpenForSharedReading(path);
    if (!fd.valid()) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

FolderCreation CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return {true, {}};
    const int err = errno;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return {true, {}};
    return {false, SystemErrorText(err)};
}

}  // namespace imgcrypt
