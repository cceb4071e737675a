#include "runtime/line_text_file.h"

#include <utility>

#include "runtime/byte_search.h"
#include "runtime/errors.h"
#include "runtime/file_system.h"

namespace imgcrypt {

namespace {

// Read ahead: large enough that a 7 MB container line costs few system calls.
constexpr std::size_t kBufferSize = 64 * 1024;

constexpr char kLF = '\n';
constexpr char kCR = '\r';
constexpr char kTextEnd = 26;  // Ctrl-Z

// Codes for operations on a file in the wrong mode.
constexpr int kCodeNotOpen = 103;
constexpr int kCodeNotOpenForInput = 104;
constexpr int kCodeNotOpenForOutput = 105;

// The first CR, LF or byte 26 in [from, end): where a line read stops.
std::size_t FindLineStop(const char* data, std::size_t from, std::size_t end) noexcept {
    return detail::FindAny(data, from, end, kLF, kCR, kTextEnd);
}

[[noreturn]] void ThrowInOutError(int err, const std::string& path) {
    throw EInOutError(InOutCodeFromSystemError(err, path));
}

void RequireMode(const LineTextFile& file, LineTextFile::Mode wanted) {
    if (file.mode() == wanted) return;
    if (file.mode() == LineTextFile::Mode::Closed) throw EInOutError(kCodeNotOpen);
    throw EInOutError(wanted == LineTextFile::Mode::Reading ? kCodeNotOpenForInput
                                                            : kCodeNotOpenForOutput);
}

}  // namespace

LineTextFile::LineTextFile(LineTextFile&& other) noexcept {
    *this = std::move(other);
}

LineTextFile& LineTextFile::operator=(LineTextFile&& other) noexcept {
    if (this != &other) {
        Release();
        // The moved-from file is left closed, owning nothing.
        mode_ = std::exchange(other.mode_, Mode::Closed);
        path_ = std::move(other.path_);
        file_ = std::move(other.file_);
        writer_ = std::move(other.writer_);
        buffer_ = std::exchange(other.buffer_, {});
        pos_ = std::exchange(other.pos_, 0);
        eof_ = std::exchange(other.eof_, false);
    }
    return *this;
}

LineTextFile::~LineTextFile() {
    Release();
}

void LineTextFile::Release() noexcept {
    file_.Close();
    // A write that was never closed is abandoned: the final file stays as it was.
    writer_.reset();
    mode_ = Mode::Closed;
    buffer_.clear();
    pos_ = 0;
    eof_ = false;
}

// Called only when every buffered byte has been consumed.
bool LineTextFile::Fill() {
    buffer_.clear();
    pos_ = 0;
    if (eof_) return false;
    buffer_.resize(kBufferSize);
    std::size_t got = 0;
    if (const int err = platform::ReadSome(file_, buffer_.data(), buffer_.size(), got); err != 0) {
        buffer_.clear();
        ThrowInOutError(err, path_);
    }
    buffer_.resize(got);
    if (got == 0) eof_ = true;
    return got > 0;
}

LineTextFile CreateTextForReplacing(const std::string& path, std::uint64_t expectedSize) {
    LineTextFile text;
    text.writer_ = std::make_unique<ReplacingFile>(path, FileErrors::LineText);
    text.writer_->Expect(expectedSize);
    text.mode_ = LineTextFile::Mode::Writing;
    text.path_ = path;
    return text;
}

void PutText(LineTextFile& file, std::string_view text) {
    RequireMode(file, LineTextFile::Mode::Writing);
    file.writer_->Write(text);
}

void PutLineBreak(LineTextFile& file) {
    PutText(file, "\r\n");
}

LineTextFile OpenTextForReading(const std::string& path) {
    LineTextFile text;
    if (const int err = platform::OpenForSharedReading(path, text.file_); err != 0)
        ThrowInOutError(err, path);
    text.mode_ = LineTextFile::Mode::Reading;
    text.path_ = path;
    return text;
}

bool AtTextEnd(LineTextFile& file) {
    RequireMode(file, LineTextFile::Mode::Reading);
    if (file.pos_ == file.buffer_.size() && !file.Fill()) return true;
    return file.buffer_[file.pos_] == kTextEnd;
}

std::string TakeLine(LineTextFile& file) {
    RequireMode(file, LineTextFile::Mode::Reading);
    std::string line;
    for (;;) {
        if (file.pos_ == file.buffer_.size() && !file.Fill()) return line;
        const char* const data = file.buffer_.data();
        const std::size_t end = file.buffer_.size();
        const std::size_t stop = FindLineStop(data, file.pos_, end);
        line.append(data + file.pos_, stop - file.pos_);
        file.pos_ = stop;
        if (stop == end) continue;
        if (data[stop] == kTextEnd) return line;  // left unread: the text ends here
        ++file.pos_;
        if (data[stop] == kLF) return line;
        // A CR is always dropped: before LF the LF then ends the line (so CR LF
        // is one break, even across buffers), before anything else it vanishes.
    }
}

void CloseText(LineTextFile& file) {
    if (file.mode_ != LineTextFile::Mode::Writing) {
        file.Release();  // closing a read-only descriptor reports nothing useful
        return;
    }
    try {
        file.writer_->Commit();
    } catch (...) {
        file.Release();
        throw;
    }
    file.Release();
}

}  // namespace imgcrypt
