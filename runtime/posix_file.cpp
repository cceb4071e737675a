#include "runtime/posix_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "runtime/paths.h"

namespace imgcrypt::posix {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    close();
}

int FileDescriptor::release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

int FileDescriptor::close() noexcept {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    // EINTR after close on Linux still means the descriptor is gone.
    return result == 0 || errno == EINTR ? 0 : errno;
}

namespace {

bool Lock(int fd, int operation) {
    int result;
    do {
        result = ::flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// Failures keep errno; the descriptor is closed without disturbing it.
FileDescriptor Fail(FileDescriptor& fd, int err) {
    fd.close();
    errno = err;
    return FileDescriptor();
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

FileDescriptor OpenForSharedReading(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return fd;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return Fail(fd, errno);
    if (S_ISDIR(info.st_mode)) return Fail(fd, EISDIR);
    // Devices and pipes have no end to read up to.
    if (!S_ISREG(info.st_mode)) return Fail(fd, EINVAL);
    if (!Lock(fd.get(), LOCK_SH)) return Fail(fd, errno);
    return fd;
}

FileDescriptor CreateForExclusiveWriting(const std::string& path) {
    // No O_TRUNC: a file someone else holds must not be cut before the lock says so.
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid()) return fd;
    if (!Lock(fd.get(), LOCK_EX)) return Fail(fd, errno);
    if (::ftruncate(fd.get(), 0) != 0) return Fail(fd, errno);
    return fd;
}

FileDescriptor CreateTempBeside(const std::string& path, std::string& tempPath) {
    // A hidden name beside the final one, so the rename stays within one file system.
    // The name part is shortened so the template never exceeds a name's length limit.
    constexpr std::size_t kMaxNamePart = 200;
    std::string name = PathName(path);
    if (name.size() > kMaxNamePart) name.resize(kMaxNamePart);
    std::string pattern = PathFolder(path) + "." + name + ".XXXXXX";
    FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd.valid()) return fd;
    tempPath = pattern;
    // mkstemp creates 0600; the final file should get what a plain create gives.
    if (::fchmod(fd.get(), 0666 & ~CurrentUmask()) != 0 || !Lock(fd.get(), LOCK_EX)) {
        const int err = errno;
        ::unlink(tempPath.c_str());
        tempPath.clear();
        return Fail(fd, err);
    }
    return fd;
}

bool ReadToEnd(int fd, std::string& out) {
    constexpr std::size_t kChunk = 64 * 1024;
    struct stat info {};
    std::size_t expected = 0;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        const off_t position = ::lseek(fd, 0, SEEK_CUR);
        if (position >= 0 && position < info.st_size) {
            expected = static_cast<std::size_t>(info.st_size - position);
        }
    }
    const std::size_t start = out.size();
    std::size_t filled = start;
    // One extra byte tells at once whether the file grew since fstat.
    out.resize(start + expected + 1);
    for (;;) {
        if (filled == out.size()) out.resize(out.size() + kChunk);
        const ssize_t got = ::read(fd, out.data() + filled, out.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            out.resize(start);
            errno = err;
            return false;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    out.resize(filled);
    return true;
}

bool ReadFully(int fd, char* dst, std::size_t n, std::size_t& got) {
    got = 0;
    while (got < n) {
        const ssize_t part = ::read(fd, dst + got, n - got);
        if (part < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (part == 0) break;
        got += static_cast<std::size_t>(part);
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace imgcrypt::posix
