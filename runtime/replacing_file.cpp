#include "runtime/replacing_file.h"

#include <utility>

#include "runtime/errors.h"
#include "runtime/file_system.h"

namespace imgcrypt {

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
    if (const int err = platform::CreateTempBeside(path_, file_, tempPath_); err != 0) {
        tempPath_.clear();
        throw EFCreateError(path_, err);
    }
}

ReplacingFile::~ReplacingFile() {
    if (tempPath_.empty()) return;
    file_.Close();
    (void)platform::RemoveFile(tempPath_);
}

void ReplacingFile::Fail(int err) {
    file_.Close();
    (void)platform::RemoveFile(tempPath_);
    tempPath_.clear();
    throw EFCreateError(path_, err);
}

void ReplacingFile::Write(std::string_view bytes) {
    if (tempPath_.empty()) throw EFCreateError(path_, 0);
    if (const int err = platform::WriteAll(file_, bytes); err != 0) Fail(err);
}

void ReplacingFile::Commit() {
    if (tempPath_.empty()) throw EFCreateError(path_, 0);
    if (const int err = file_.Close(); err != 0) Fail(err);
    if (const int err = platform::RenameOver(tempPath_, path_); err != 0) Fail(err);
    tempPath_.clear();
}

}  // namespace imgcrypt
