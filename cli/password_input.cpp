#include "cli/password_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "cli/console_input.h"
#include "codec/secret_bytes.h"
#include "runtime/errors.h"
#include "runtime/whole_file.h"

namespace imgcrypt {
namespace {

std::string StripLineBreak(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string ReadFromTerminal() {
    std::optional<std::string> line = ReadConsoleLineWithoutEcho("Password: ");
    if (!line) {
        std::fputc('\n', stderr);
        throw EPasswordInputError("no password typed");
    }
    return std::move(*line);
}

// Only the start of the file is read: the line that counts is short, and a
// large file given by mistake costs nothing. It is read into a buffer that
// is wiped when it goes, as the password's other copies are.
std::string ReadPasswordFile(const std::string& path) {
    const std::string source = "\"" + path + "\"";
    SecretBytes start;
    try {
        FileReader file(path);
        start = SecretBytes(
            static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), kMaxPasswordLine)));
        file.Read(reinterpret_cast<char*>(start.data()), start.size());
    } catch (const EFOpenError& e) {
        throw EPasswordInputError("cannot open the password file " + source + ": " +
                                  SystemErrorText(e.systemError()));
    }
    if (start.size() == 0) throw EPasswordInputError("the password file " + source + " is empty");
    return FirstLine({reinterpret_cast<const char*>(start.data()), start.size()});
}

}  // namespace

std::string FirstLine(std::string_view text) {
    const std::size_t lineFeed = text.find('\n');
    return StripLineBreak(
        std::string(lineFeed == std::string_view::npos ? text : text.substr(0, lineFeed + 1)));
}

std::optional<std::string> ReadFirstLine(std::FILE* in, std::string_view source) {
    std::string line;
    // Room for the longest line from the start: growing would leave copies
    // of the password behind in freed memory.
    line.reserve(kMaxPasswordLine);
    int c = 0;
    while (line.size() < kMaxPasswordLine && (c = std::getc(in)) != EOF) {
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    if (std::ferror(in)) {
        throw EPasswordInputError("cannot read the password from " + std::string(source) + ": " +
                                  std::strerror(errno));
    }
    if (line.empty()) return std::nullopt;
    return StripLineBreak(std::move(line));
}

std::string ReadTypedPassword(const std::optional<std::string>& passwordFile) {
    if (passwordFile) return ReadPasswordFile(*passwordFile);
    if (StdinIsConsole()) return ReadFromTerminal();
    std::optional<std::string> line = ReadFirstLine(stdin, "standard input");
    if (!line) throw EPasswordInputError("no password on standard input");
    return std::move(*line);
}

}  // namespace imgcrypt
