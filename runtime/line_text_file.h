// Line-text files: bytes written as given, lines read up to LF or CR LF, a
// lone CR dropped, byte 26 ending the text. Failures raise EInOutError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/file_handle.h"
#include "runtime/replacing_file.h"

namespace imgcrypt {

class LineTextFile {
  public:
    enum class Mode { Closed, Reading, Writing };

    LineTextFile() = default;
    LineTextFile(LineTextFile&& other) noexcept;
    LineTextFile& operator=(LineTextFile&& other) noexcept;
    LineTextFile(const LineTextFile&) = delete;
    LineTextFile& operator=(const LineTextFile&) = delete;
    // Closes without reporting errors; a write that was never closed leaves
    // the final file untouched and removes its temporary file.
    ~LineTextFile();

    Mode mode() const noexcept { return mode_; }
    const std::string& path() const noexcept { return path_; }

  private:
    friend LineTextFile CreateTextForReplacing(const std::string& path, std::uint64_t expectedSize);
    friend void PutText(LineTextFile& file, std::string_view text);
    friend void PutLineBreak(LineTextFile& file);
    friend LineTextFile OpenTextForReading(const std::string& path);
    friend bool AtTextEnd(LineTextFile& file);
    friend std::string TakeLine(LineTextFile& file);
    friend void CloseText(LineTextFile& file);

    bool Fill();
    void Release() noexcept;

    Mode mode_ = Mode::Closed;
    std::string path_;
    FileHandle file_;                        // while reading
    std::unique_ptr<ReplacingFile> writer_;  // while writing
    std::string buffer_;                     // read ahead
    std::size_t pos_ = 0;                    // read position in buffer_
    bool eof_ = false;
};

// Opens a text for writing that replaces `path`: it is written to a
// temporary file beside `path` that CloseText renames over `path`, so no
// reader ever sees a half-written file and an existing file survives any
// failure. `expectedSize`, the size the file will have when known, makes
// writing it cheaper.
LineTextFile CreateTextForReplacing(const std::string& path, std::uint64_t expectedSize = 0);
void PutText(LineTextFile& file, std::string_view text);
void PutLineBreak(LineTextFile& file);
LineTextFile OpenTextForReading(const std::string& path);
bool AtTextEnd(LineTextFile& file);
std::string TakeLine(LineTextFile& file);
void CloseText(LineTextFile& file);

}  // namespace imgcrypt
