#include "runtime/whole_file.h"

#include "runtime/errors.h"
#include "runtime/file_system.h"

namespace imgcrypt {

std::string ReadWholeFile(const std::string& path) {
    FileHandle file;
    if (const int err = platform::OpenForSharedReading(path, file); err != 0)
        throw EFOpenError(path, err);
    std::string bytes;
    if (const int err = platform::ReadToEnd(file, bytes); err != 0) throw EFOpenError(path, err);
    return bytes;
}

SourceFileReader::SourceFileReader(const std::string& path) : path_(path) {
    if (const int err = platform::OpenForSharedReading(path, file_); err != 0)
        throw EFOpenError(path, err);
    if (const int err = platform::FileSize(file_, size_); err != 0) throw EFOpenError(path, err);
}

void SourceFileReader::Read(char* dst, std::size_t n) {
    if (const int err = platform::ReadExactly(file_, dst, n); err != 0)
        throw EFOpenError(path_, err);
}

void WriteWholeFileReplacing(const std::string& path, std::string_view bytes) {
    FileHandle file;
    std::string tempPath;
    if (const int err = platform::CreateTempBeside(path, file, tempPath); err != 0)
        throw EFCreateError(path, err);
    const auto fail = [&](int err) {
        file.Close();
        (void)platform::RemoveFile(tempPath);
        throw EFCreateError(path, err);
    };
    if (const int err = platform::WriteAll(file, bytes); err != 0) fail(err);
    if (const int err = file.Close(); err != 0) fail(err);
    if (const int err = platform::RenameOver(tempPath, path); err != 0) fail(err);
}

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
    FileHandle file;
    std::uint64_t size = 0;
    if (platform::OpenForSharedReading(path, file) != 0 || platform::FileSize(file, size) != 0)
        return std::nullopt;
    return size;
}

FolderCreation CreateFolder(const std::string& path) {
    const int err = platform::MakeFolder(path);
    if (err == 0 || FolderExists(path)) return {true, {}};
    return {false, SystemErrorText(err)};
}

}  // namespace imgcrypt
