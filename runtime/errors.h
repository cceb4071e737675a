// Error types raised by file operations, and the text the application's
// default error handler shows for any error.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace imgcrypt {

// Codes of the line-text file errors: the numbers the classic Windows tool
// showed ("I/O error 32", ...), kept so users meet the same messages and codes.
inline constexpr int kCodeFileNotFound = 2;
inline constexpr int kCodeInvalidFilename = 3;  // a folder on the path is missing
inline constexpr int kCodeTooManyOpenFiles = 4;
inline constexpr int kCodeAccessDenied = 5;
inline constexpr int kCodeSharingViolation = 32;
inline constexpr int kCodeDiskFull = 112;

// The message of an input/output error code: "File not found", ..., "I/O error N".
std::string InOutMessage(int code);

// Maps the platform's error code (errno on POSIX, a system error code on
// Windows) to the code an EInOutError carries. `path` lets a POSIX ENOENT
// tell a missing file (2) from a missing folder (3); Windows tells them apart
// itself. Defined by the platform's file layer.
int InOutCodeFromSystemError(int err, std::string_view path);

// Raised by the line-text file operations.
class EInOutError : public std::runtime_error {
  public:
    explicit EInOutError(int code);
    int code() const noexcept { return code_; }

  private:
    int code_;
};

// Raised when a file cannot be opened for whole-file reading:
// Cannot open file "<absolute path>". <system text>
class EFOpenError : public std::runtime_error {
  public:
    // `err` is the platform's error code.
    EFOpenError(std::string_view path, int err);
    int systemError() const noexcept { return systemError_; }

  private:
    int systemError_;
};

// Raised when a file cannot be created for whole-file writing:
// Cannot create file "<absolute path>". <system text>
class EFCreateError : public std::runtime_error {
  public:
    // `err` is the platform's error code.
    EFCreateError(std::string_view path, int err);
};

// How a file operation reports a failure: as whole files do (EFOpenError
// reading, EFCreateError writing: sources, probes, decrypted files, the
// command line) or as line-text files do (EInOutError: the containers the
// window writes and decrypts, config.db).
enum class FileErrors { WholeFile, LineText };

// The system's text for the platform's error code `err`, in the system's
// language, with trailing blanks, line breaks and full stops removed.
std::string SystemErrorText(int err);

// `path` made absolute against the current folder (no symlink resolution).
// Defined by the platform's file layer.
std::string AbsolutePath(std::string_view path);

// The text the default error handler shows: the message followed by "."
// unless its last character is "." or has a lower code.
std::string DefaultHandlerText(std::string_view message);

}  // namespace imgcrypt
