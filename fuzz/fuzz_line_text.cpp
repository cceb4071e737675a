// Arbitrary bytes through the line reader: its lines joined are the text the
// container decoder reads (the bytes before the first byte 26 without CR and
// LF), and it never crashes or hangs.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "runtime/line_text_file.h"
#include "tests/support/line_oracle.h"

namespace {

std::string gFolder;  // made once, removed at exit

void RemoveFolder() {
    ::unlink((gFolder + "/input.txt").c_str());
    ::rmdir(gFolder.c_str());
}

// One folder for the whole run; the file in it is rewritten for every input.
const std::string& InputPath() {
    static const std::string path = [] {
        std::string pattern = "/tmp/fuzz-line-text-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        gFolder = pattern;
        std::atexit(RemoveFolder);
        return pattern + "/input.txt";
    }();
    return path;
}

// Inputs starting with 0xFF get a run of filler in front so that what follows
// lands on the reader's 64 KiB buffer boundary (a CR split from its LF, ...).
std::string WithBoundaryPadding(std::string_view input) {
    if (input.size() < 2 || static_cast<unsigned char>(input[0]) != 0xFF) return std::string(input);
    const std::size_t padding = 65536 - static_cast<unsigned char>(input[1]) % 8;
    return std::string(padding, 'x') + std::string(input.substr(2));
}

void WriteInput(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::abort();
    }
    if (std::fclose(file) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace imgcrypt;
    const std::string bytes =
        WithBoundaryPadding(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string& path = InputPath();
    WriteInput(path, bytes);

    std::string lineLoop;
    std::size_t lineCount = 0;
    LineTextFile file = OpenTextForReading(path);
    while (!AtTextEnd(file)) {
        lineLoop += TakeLine(file);
        // Every TakeLine consumes at least one byte before the end: no endless loop.
        if (++lineCount > bytes.size()) std::abort();
    }
    CloseText(file);
    if (lineLoop != imgcrypt::test::JoinedReadLines(bytes)) std::abort();
    return 0;
}
