// A whole file read through the program's own FileReader, so that tests of
// sharing and of read errors see what the program sees (EFOpenError).
#pragma once

#include <string>

#include "runtime/whole_file.h"

namespace imgcrypt::test {

inline std::string ReadWholeFile(const std::string& path) {
    FileReader file(path);
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    file.Read(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace imgcrypt::test
