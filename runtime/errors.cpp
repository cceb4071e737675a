#include "runtime/errors.h"

#include "runtime/file_system.h"

namespace imgcrypt {

namespace {

// Codes that only the message table knows: no operation raises them today.
constexpr int kCodeReadBeyondEnd = 100;
constexpr int kCodeDiskWrite = 101;
constexpr int kCodeInvalidNumericInput = 106;

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
        case kCodeFileNotFound:
            return "File not found";
        case kCodeInvalidFilename:
            return "Invalid filename";
        case kCodeTooManyOpenFiles:
            return "Too many open files";
        case kCodeAccessDenied:
            return "File access denied";
        case kCodeReadBeyondEnd:
            return "Read beyond end of file";
        case kCodeDiskWrite:
            return "Disk full";
        case kCodeInvalidNumericInput:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

EInOutError::EInOutError(int code) : std::runtime_error(InOutMessage(code)), code_(code) {}

EFOpenError::EFOpenError(std::string_view path, int err)
    : std::runtime_error(FileErrorText("open", path, err)), systemError_(err) {}

EFCreateError::EFCreateError(std::string_view path, int err)
    : std::runtime_error(FileErrorText("create", path, err)) {}

std::string SystemErrorText(int err) {
    std::string text = platform::SystemMessage(err);
    while (!text.empty()) {
        const char last = text.back();
        if (last != ' ' && last != '\t' && last != '\r' && last != '\n' && last != '.') break;
        text.pop_back();
    }
    return text;
}

std::string DefaultHandlerText(std::string_view message) {
    std::string text(message);
    if (text.empty() || static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

}  // namespace imgcrypt
