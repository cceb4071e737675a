// Line-text files: bytes written as given, lines read up to LF or CR LF, a
// lone CR dropped, byte 26 ending the text. Failures raise EInOutError.
#pragma once

#include <string>
#include <string_view>

#include "runtime/file_handle.h"

namespace imgcrypt {

class LineTextFile {
  public:
    enum class Mode { Closed, Reading, Writing };

    LineTextFile() = default;
    LineTextFile(LineTextFile&& other) noexcept;
    LineTextFile& operator=(LineTextFile&& other) noexcept;
    LineTextFile(const LineTextFile&) = delete;
    LineTextFile& operator=(const LineTextFile&) = delete;
    // Closes without reporting errors; a replacing write that was never closed
    // leaves the final file untouched and removes its temporary file.
    ~LineTextFile();

    Mode mode() const noexcept { return mode_; }
    const std::string& path() const noexcept { return path_; }

  private:
    friend LineTextFile CreateTextForWriting(const std::string& path);
    friend LineTextFile CreateTextForReplacing(const std::string& path);
    friend void PutText(LineTextFile& file, std::string_view text);
    friend void PutLineBreak(LineTextFile& file);
    friend LineTextFile OpenTextForReading(const std::string& path);
    friend bool AtTextEnd(LineTextFile& file);
    friend std::string TakeLine(LineTextFile& file);
    friend void CloseText(LineTextFile& file);

    // An open file in `mode`; a replacing write also knows its temporary file.
    LineTextFile(FileHandle file, Mode mode, std::string path, std::string tempPath = {});

    void Flush();
    bool Fill();
    void Release() noexcept;

    FileHandle file_;
    Mode mode_ = Mode::Closed;
    std::string path_;      // the final path
    std::string tempPath_;  // set while a replacing write is in progress
    std::string buffer_;
    std::size_t pos_ = 0;  // read position in buffer_
    bool eof_ = false;
};

// Creates or truncates `path` and opens it for writing (others may read).
LineTextFile CreateTextForWriting(const std::string& path);
// Like CreateTextForWriting, but writes to a temporary file beside `path`
// that CloseText renames over `path`: no reader ever sees a half-written file
// and an existing file survives any failure.
LineTextFile CreateTextForReplacing(const std::string& path);
void PutText(LineTextFile& file, std::string_view text);
void PutLineBreak(LineTextFile& file);
LineTextFile OpenTextForReading(const std::string& path);
bool AtTextEnd(LineTextFile& file);
std::string TakeLine(LineTextFile& file);
void CloseText(LineTextFile& file);

// The "read a whole file as joined lines" pattern in one call, for large
// files: the same text as OpenTextForReading, TakeLine until AtTextEnd,
// CloseText. Raises EInOutError.
std::string ReadJoinedLines(const std::string& path);

// The text a line-by-line reader joins from these file bytes: everything
// before the first byte 26, with every CR and LF removed. Works in place, so
// bytes handed over with std::move are never copied.
std::string JoinedLines(std::string bytes);

}  // namespace imgcrypt
