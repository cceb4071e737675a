#include "runtime/replacing_file.h"

#include <utility>

#include "runtime/errors.h"
#include "runtime/file_system.h"

namespace imgcrypt {

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
    Open();
}

ReplacingFile::~ReplacingFile() {
    Abandon();
}

void ReplacingFile::Open() {
    if (const int err = platform::CreateTempBeside(path_, file_, tempPath_); err != 0) {
        tempPath_.clear();
        throw EFCreateError(path_, err);
    }
}

void ReplacingFile::Abandon() noexcept {
    pages_.Clear();
    if (tempPath_.empty()) return;
    file_.Close();
    (void)platform::RemoveFile(tempPath_);
    tempPath_.clear();
}

void ReplacingFile::Fail(int err) {
    Abandon();
    throw EFCreateError(path_, err);
}

void ReplacingFile::Write(std::string_view bytes) {
    if (tempPath_.empty()) throw EFCreateError(path_, 0);
    if (const int err = pages_.Write(file_, bytes); err != 0) Fail(err);
}

void ReplacingFile::StartOver() {
    Abandon();
    Open();
}

void ReplacingFile::Commit() {
    if (tempPath_.empty()) throw EFCreateError(path_, 0);
    if (const int err = pages_.Finish(file_); err != 0) Fail(err);
    if (const int err = file_.Close(); err != 0) Fail(err);
    if (const int err = platform::RenameOver(tempPath_, path_); err != 0) Fail(err);
    tempPath_.clear();
}

}  // namespace imgcrypt
