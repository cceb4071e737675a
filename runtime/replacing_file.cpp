#include "runtime/replacing_file.h"

#include <utility>

#include "runtime/errors.h"
#include "runtime/file_system.h"

namespace imgcrypt {

ReplacingFile::ReplacingFile(std::string path, FileErrors errors)
    : path_(std::move(path)), errors_(errors) {
    Open();
}

ReplacingFile::~ReplacingFile() {
    Abandon();
}

void ReplacingFile::Open() {
    if (const int err = platform::CreateTempBeside(path_, file_, tempPath_); err != 0) {
        tempPath_.clear();
        Raise(err);
    }
}

void ReplacingFile::Raise(int err) const {
    if (errors_ == FileErrors::LineText) throw EInOutError(InOutCodeFromSystemError(err, path_));
    throw EFCreateError(path_, err);
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
    Raise(err);
}

void ReplacingFile::Write(std::string_view bytes) {
    if (tempPath_.empty()) Raise(0);
    if (const int err = pages_.Write(file_, bytes); err != 0) Fail(err);
}

void ReplacingFile::StartOver() {
    Abandon();
    Open();
}

void ReplacingFile::Commit() {
    if (tempPath_.empty()) Raise(0);
    if (const int err = pages_.Finish(file_); err != 0) Fail(err);
    if (const int err = file_.Close(); err != 0) Fail(err);
    if (const int err = platform::RenameOver(tempPath_, path_); err != 0) Fail(err);
    tempPath_.clear();
}

}  // namespace imgcrypt
