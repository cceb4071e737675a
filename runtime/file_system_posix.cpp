// The file layer on POSIX systems. Sharing modes are kept with advisory
// locks: readers take a shared lock, writers an exclusive one, and a
// conflict is EWOULDBLOCK, reported as the sharing-violation code.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "runtime/errors.h"
#include "runtime/file_system.h"
#include "runtime/paths.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

namespace {

// A code that shows what went wrong without reading as "File access denied".
constexpr int kCodeDeviceIoError = 1117;

bool Lock(int fd, int operation) {
    int result;
    do {
        result = ::flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

int Fd(const FileHandle& file) {
    return static_cast<int>(file.native());
}

// Keeps the handle only on success.
platform::ErrorCode Adopt(int fd, FileHandle& file) {
    if (fd < 0) return errno;
    file = FileHandle(fd);
    return 0;
}

// Closes the half-opened file and reports `err`.
platform::ErrorCode Fail(FileHandle& file, platform::ErrorCode err) {
    file.Close();
    return err;
}

}  // namespace

int FileHandle::Close() noexcept {
    if (!valid()) return 0;
    const int result = ::close(static_cast<int>(std::exchange(native_, kNone)));
    // EINTR after close on Linux still means the descriptor is gone.
    return result == 0 || errno == EINTR ? 0 : errno;
}

namespace platform {

const ErrorCode kErrorFileEndedEarly = EIO;

ErrorCode OpenForSharedReading(const std::string& path, FileHandle& file, std::uint64_t* size) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    FileHandle opened;
    if (const ErrorCode err =
            Adopt(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), opened))
        return err;
    struct stat info {};
    if (::fstat(Fd(opened), &info) != 0) return Fail(opened, errno);
    if (S_ISDIR(info.st_mode)) return Fail(opened, EISDIR);
    // Devices and pipes have no end to read up to.
    if (!S_ISREG(info.st_mode)) return Fail(opened, EINVAL);
    if (!Lock(Fd(opened), LOCK_SH)) return Fail(opened, errno);
    if (size != nullptr) *size = static_cast<std::uint64_t>(info.st_size);
    file = std::move(opened);
    return 0;
}

ErrorCode CreateTempBeside(const std::string& path, FileHandle& file, std::string& tempPath) {
    constexpr unsigned kAttempts = 100;
    const std::string stem = TempNameStem(path);
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        std::string candidate = TempNameCandidate(stem, attempt);
        // Created with the mode a plain create gives the final file, so no
        // change of mode is needed before the rename.
        FileHandle opened;
        const ErrorCode err = Adopt(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), opened);
        if (err == EEXIST) continue;
        if (err != 0) return err;
        if (!Lock(Fd(opened), LOCK_EX)) {
            const ErrorCode lockErr = errno;
            ::unlink(candidate.c_str());
            return Fail(opened, lockErr);
        }
        file = std::move(opened);
        tempPath = std::move(candidate);
        return 0;
    }
    return EEXIST;
}

ErrorCode ReadSome(const FileHandle& file, char* dst, std::size_t n, std::size_t& got) {
    ssize_t result;
    do {
        result = ::read(Fd(file), dst, n);
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        got = 0;
        return errno;
    }
    got = static_cast<std::size_t>(result);
    return 0;
}

ErrorCode ReadAt(const FileHandle& file, std::uint64_t offset, char* dst, std::size_t n,
                 std::size_t& got) {
    ssize_t result;
    do {
        result = ::pread(Fd(file), dst, n, static_cast<off_t>(offset));
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        got = 0;
        return errno;
    }
    got = static_cast<std::size_t>(result);
    return 0;
}

ErrorCode WriteAll(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(Fd(file), bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (put == 0) return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

ErrorCode Preallocate(const FileHandle& file, std::uint64_t size) {
    // fallocate, not posix_fallocate: where the file system cannot set room
    // aside, writing zeros first would cost more than it saves.
    int result;
    do {
        result = ::fallocate(Fd(file), 0, 0, static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

ErrorCode Truncate(const FileHandle& file, std::uint64_t size) {
    return ::ftruncate(Fd(file), static_cast<off_t>(size)) == 0 ? 0 : errno;
}

ErrorCode RenameOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

ErrorCode RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

ErrorCode MakeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

std::string SystemMessage(ErrorCode err) {
    return std::system_category().message(err);
}

}  // namespace platform

int InOutCodeFromSystemError(int err, std::string_view path) {
    switch (err) {
        case ENOENT: {
            if (path.empty()) return kCodeInvalidFilename;
            // A name without a folder lives in the current folder.
            const std::string folder = PathFolder(path);
            const bool folderExists = FolderExists(folder.empty() ? std::string(".") : folder);
            return folderExists ? kCodeFileNotFound : kCodeInvalidFilename;
        }
        case ENOTDIR:
        case ENAMETOOLONG:
            return kCodeInvalidFilename;
        case EMFILE:
        case ENFILE:
            return kCodeTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:  // opening a folder as a file
            return kCodeAccessDenied;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return kCodeDiskFull;
        case EWOULDBLOCK:
            return kCodeSharingViolation;
        case EIO:
            return kCodeDeviceIoError;
        default:
            return err;
    }
}

std::string AbsolutePath(std::string_view path) {
    if (path.empty()) return {};
    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec) return std::string(path);
    return absolute.lexically_normal().string();
}

bool FileExists(const std::string& path) noexcept {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& path) noexcept {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace imgcrypt
