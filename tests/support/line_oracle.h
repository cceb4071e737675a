// References of the two texts the container readers see in a file's bytes,
// as plain loops for tests and fuzz targets to compare the fast code with.
// Both are the file's lines joined; they differ in where the text ends.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt::test {

// The bytes before `end` (or all of them) with every CR and LF removed.
inline std::string WithoutLineBreaksBefore(std::string_view bytes, char end) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes.substr(0, bytes.find(end))) {
        if (c != '\r' && c != '\n') text += c;
    }
    return text;
}

// The probe's text: the whole file loaded as lines (broken at LF, CR or
// CR LF; a NUL ends the text), joined.
inline std::string JoinedLoadedLines(std::string_view bytes) {
    return WithoutLineBreaksBefore(bytes, '\0');
}

// The decoder's text: the file read line by line (TakeLine until AtTextEnd;
// a byte 26 ends the text), joined.
inline std::string JoinedReadLines(std::string_view bytes) {
    return WithoutLineBreaksBefore(bytes, '\x1a');
}

}  // namespace imgcrypt::test
