#include "runtime/errors.h"

#include "runtime/file_system.h"

namespace imgcrypt {

namespace {

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
