#include "runtime/errors.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "runtime/paths.h"

namespace imgcrypt {

namespace {

// A code that shows what went wrong without reading as "File access denied".
constexpr int kCodeDeviceIoError = 1117;

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FileErrorText(const char* verb, std::string_view path, int err) {
    std::string text = "Cannot ";
    text += verb;
    text += " file \"";
    text += AbsolutePath(path);
    text += "\". ";
    text += SystemErrorText(err);
    return text;
}

}  // namespace

std::string InOutMessage(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

int InOutCodeFromErrno(int err, std::string_view path) {
    switch (err) {
        case ENOENT: {
            if (path.empty()) return kCodeInvalidFilename;
            // A name without a folder lives in the current folder.
            const std::string folder = PathFolder(path);
            const bool folderExists = IsFolder(folder.empty() ? std::string(".") : folder);
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

EInOutError::EInOutError(int code) : std::runtime_error(InOutMessage(code)), code_(code) {}

EFOpenError::EFOpenError(std::string_view path, int err)
    : std::runtime_error(FileErrorText("open", path, err)) {}

EFCreateError::EFCreateError(std::string_view path, int err)
    : std::runtime_error(FileErrorText("create", path, err)) {}

std::string SystemErrorText(int err) {
    std::string text = std::system_category().message(err);
    while (!text.empty()) {
        const char last = text.back();
        if (last != ' ' && last != '\t' && last != '\r' && last != '\n' && last != '.') break;
        text.pop_back();
    }
    return text;
}

std::string AbsolutePath(std::string_view path) {
    if (path.empty()) return {};
    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec) return std::string(path);
    return absolute.lexically_normal().string();
}

std::string DefaultHandlerText(std::string_view message) {
    std::string text(message);
    if (text.empty() || static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

}  // namespace imgcrypt
