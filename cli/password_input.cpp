#include "cli/password_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/console_input.h"
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
    return *line;
}

// Only the start of the file is read: the line that counts is short, and a
// large file given by mistake costs nothing.
std::string ReadPasswordFile(const std::string& path) {
    const std::string source = "\"" + path + "\"";
    std::string start;
    try {
        FileReader file(path);
        start.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), kMaxPasswordLine)));
        file.Read(start.data(), start.size());
    } catch (const EFOpenError& e) {
        throw EPasswordInputError("cannot open the password file " + source + ": " +
                                  SystemErrorText(e.systemError()));
    }
    if (start.empty()) throw EPasswordInputError("the password file " + source + " is empty");
    return FirstLine(start);
}

}  // namespace

std::string FirstLine(std::string_view text) {
    const std::size_t lineFeed = text.find('\n');
    return StripLineBreak(
        std::string(lineFeed == std::string_view::npos ? text : text.substr(0, lineFeed + 1)));
}

std::optional<std::string> ReadFirstLine(std::FILE* in, std::string_view source) {
    std::string line;
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
    return *line;
}

}  // namespace imgcrypt
