// Small POSIX file helpers shared by the line-text and whole-file routines:
// an owning descriptor, locked opens that stand in for sharing modes, and
// temporary files for replacing writes. Internal to runtime/.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt::posix {

// Owns one file descriptor and closes it.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const noexcept { return fd_; }
    bool valid() const noexcept { return fd_ >= 0; }
    int release() noexcept;
    // Closes now; returns 0 or the errno of a failed close.
    int close() noexcept;

  private:
    int fd_ = -1;
};

// Opens `path` for reading with a shared lock (others may read, nobody may
// hold it for writing). On failure returns an invalid descriptor and errno
// is set; a lock conflict gives EWOULDBLOCK, a folder EISDIR, anything
// other than a regular file EINVAL.
FileDescriptor OpenForSharedReading(const std::string& path);

// Creates or opens `path` for writing with an exclusive lock, then
// truncates it (only after the lock is held). errno set on failure.
FileDescriptor CreateForExclusiveWriting(const std::string& path);

// Creates a temporary file in the folder of `path`, exclusively locked and
// with the permissions a fresh file would get. Sets `tempPath`; errno on failure.
FileDescriptor CreateTempBeside(const std::string& path, std::string& tempPath);

// Reads everything from the current position to the end; a regular file is
// read into one buffer sized from its length. Returns false with errno set.
bool ReadToEnd(int fd, std::string& out);

// Reads n bytes into `dst`, retrying interrupted and short reads; stops
// early only at the end of the file. Sets `got`; false with errno set.
bool ReadFully(int fd, char* dst, std::size_t n, std::size_t& got);

// Writes all bytes, retrying short writes. Returns false with errno set.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace imgcrypt::posix
