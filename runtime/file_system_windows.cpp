// The file layer on Windows: the wide (UTF-16) file functions with the
// sharing modes the line-text files need, so names in any script work
// whatever the system's code page. The system's error codes are the codes
// the line-text errors carry.
#include <windows.h>

#include <algorithm>

#include "runtime/errors.h"
#include "runtime/file_system.h"
#include "runtime/utf16.h"
#include "runtime/whole_file.h"

namespace imgcrypt {

namespace {

// ReadFile and WriteFile count in DWORD; larger transfers go in pieces.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

HANDLE Native(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.native());
}

platform::ErrorCode LastError() {
    return static_cast<platform::ErrorCode>(::GetLastError());
}

// Keeps the handle only on success.
platform::ErrorCode Adopt(HANDLE handle, FileHandle& file) {
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    file = FileHandle(reinterpret_cast<FileHandle::Native>(handle));
    return 0;
}

// Whether another process holds `path` open without letting it be replaced:
// the system then says "access denied" where the user needs to hear that
// the file is in use.
bool HeldOpenElsewhere(const std::wstring& path) {
    const HANDLE probe =
        ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(Utf16FromUtf8(path).c_str());
}

}  // namespace

int FileHandle::Close() noexcept {
    if (!valid()) return 0;
    const HANDLE handle = reinterpret_cast<HANDLE>(std::exchange(native_, kNone));
    return ::CloseHandle(handle) ? 0 : LastError();
}

namespace platform {

const ErrorCode kErrorFileEndedEarly = ERROR_HANDLE_EOF;

ErrorCode OpenForSharedReading(const std::string& path, FileHandle& file, std::uint64_t* size) {
    // Without backup semantics a folder is refused with "access denied".
    FileHandle opened;
    const ErrorCode err = Adopt(
        ::CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
        opened);
    if (err != 0) return err;
    // Devices ("CON", "NUL") and pipes have no end to read up to.
    if (::GetFileType(Native(opened)) != FILE_TYPE_DISK) return ERROR_INVALID_PARAMETER;
    if (size != nullptr) {
        LARGE_INTEGER value{};
        if (!::GetFileSizeEx(Native(opened), &value)) return LastError();
        *size = static_cast<std::uint64_t>(value.QuadPart);
    }
    file = std::move(opened);
    return 0;
}

ErrorCode CreateTempBeside(const std::string& path, FileHandle& file, std::string& tempPath) {
    constexpr unsigned kAttempts = 100;
    const std::string stem = TempNameStem(path);
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string candidate = TempNameCandidate(stem, attempt);
        const ErrorCode err =
            Adopt(::CreateFileW(Utf16FromUtf8(candidate).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr),
                  file);
        if (err == 0) {
            tempPath = candidate;
            return 0;
        }
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return err;
    }
    return ERROR_FILE_EXISTS;
}

ErrorCode ReadSome(const FileHandle& file, char* dst, std::size_t n, std::size_t& got) {
    DWORD read = 0;
    got = 0;
    if (!::ReadFile(Native(file), dst, static_cast<DWORD>(std::min(n, kMaxTransfer)), &read,
                    nullptr)) {
        const ErrorCode err = LastError();
        // The writing end of a pipe has closed: that is its end.
        return err == ERROR_HANDLE_EOF || err == ERROR_BROKEN_PIPE ? 0 : err;
    }
    got = read;
    return 0;
}

ErrorCode ReadAt(const FileHandle& file, std::uint64_t offset, char* dst, std::size_t n,
                 std::size_t& got) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    got = 0;
    if (!::ReadFile(Native(file), dst, static_cast<DWORD>(std::min(n, kMaxTransfer)), &read, &at)) {
        const ErrorCode err = LastError();
        return err == ERROR_HANDLE_EOF ? 0 : err;
    }
    got = read;
    return 0;
}

ErrorCode WriteAll(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD put = 0;
        if (!::WriteFile(Native(file), bytes.data(),
                         static_cast<DWORD>(std::min(bytes.size(), kMaxTransfer)), &put, nullptr)) {
            return LastError();
        }
        if (put == 0) return ERROR_DISK_FULL;
        bytes.remove_prefix(put);
    }
    return 0;
}

ErrorCode Preallocate(const FileHandle& /*file*/, std::uint64_t /*size*/) {
    // NTFS would fill an extended file with zeros first; writing as it comes
    // is cheaper there.
    return ERROR_NOT_SUPPORTED;
}

ErrorCode Truncate(const FileHandle& file, std::uint64_t size) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(Native(file), at, nullptr, FILE_BEGIN) || !::SetEndOfFile(Native(file)))
        return LastError();
    return 0;
}

ErrorCode RenameOver(const std::string& from, const std::string& to) {
    const std::wstring target = Utf16FromUtf8(to);
    if (::MoveFileExW(Utf16FromUtf8(from).c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    const ErrorCode err = LastError();
    if (err == ERROR_ACCESS_DENIED && HeldOpenElsewhere(target)) return ERROR_SHARING_VIOLATION;
    return err;
}

ErrorCode RemoveFile(const std::string& path) {
    return ::DeleteFileW(Utf16FromUtf8(path).c_str()) ? 0 : LastError();
}

ErrorCode MakeFolder(const std::string& path) {
    return ::CreateDirectoryW(Utf16FromUtf8(path).c_str(), nullptr) ? 0 : LastError();
}

std::string SystemMessage(ErrorCode err) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(err), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) return "System error " + std::to_string(err);
    std::string text = Utf8FromUtf16(std::wstring_view(buffer, length));
    ::LocalFree(buffer);
    return text;
}

}  // namespace platform

int InOutCodeFromSystemError(int err, std::string_view /*path*/) {
    // The system already tells a missing file (2) from a missing folder (3).
    return err == ERROR_HANDLE_DISK_FULL ? kCodeDiskFull : err;
}

std::string AbsolutePath(std::string_view path) {
    if (path.empty()) return {};
    const std::wstring wide = Utf16FromUtf8(path);
    std::wstring absolute(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(absolute.size()),
                                                absolute.data(), nullptr);
        if (length == 0) return std::string(path);
        if (length < absolute.size()) {
            absolute.resize(length);
            return Utf8FromUtf16(absolute);
        }
        absolute.resize(length);  // too small: `length` includes the terminating NUL
    }
}

bool FileExists(const std::string& path) noexcept {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) noexcept {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace imgcrypt
