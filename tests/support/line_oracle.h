// Reference of the text the container probe looks at: a whole file loaded
// as lines (broken at LF, CR or CR LF; a NUL ends the text) and the lines
// joined. A plain loop for tests and fuzz targets to compare the fast code with.
#pragma once

#include <string>
#include <string_view>

namespace imgcrypt::test {

inline std::string JoinedLoadedLines(std::string_view bytes) {
    std::string text;
    for (const char c : bytes.substr(0, bytes.find('\0'))) {
        if (c != '\r' && c != '\n') text += c;
    }
    return text;
}

}  // namespace imgcrypt::test
