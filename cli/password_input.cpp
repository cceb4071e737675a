#include "cli/password_input.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>

namespace imgcrypt {
namespace {

std::string StripLineBreak(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// Terminal settings to put back if a signal ends the program while echo is
// off; a signal handler can reach nothing but file-level state.
struct termios g_savedTerminal;
volatile std::sig_atomic_t g_echoOff = 0;

constexpr int kRestoreSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RestoreTerminalAndDie(int sig) {
    if (g_echoOff) tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Turns echo off for its lifetime; Ctrl-C and friends still restore it.
class EchoOff {
  public:
    EchoOff() {
        if (tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0) return;
        for (std::size_t i = 0; i < std::size(kRestoreSignals); ++i) {
            previous_[i] = std::signal(kRestoreSignals[i], RestoreTerminalAndDie);
        }
        struct termios quiet = g_savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        g_echoOff = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0 ? 1 : 0;
        active_ = true;
    }
    ~EchoOff() {
        if (!active_) return;
        if (g_echoOff) tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
        g_echoOff = 0;
        for (std::size_t i = 0; i < std::size(kRestoreSignals); ++i) {
            std::signal(kRestoreSignals[i], previous_[i]);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    bool active_ = false;
    using Handler = void (*)(int);
    Handler previous_[std::size(kRestoreSignals)] = {};
};

std::string ReadFromTerminal() {
    std::optional<std::string> line;
    {
        // Echo goes off before the prompt, so nothing typed after it shows.
        EchoOff echoOff;
        std::fputs("Password: ", stderr);
        std::fflush(stderr);
        line = ReadFirstLine(stdin, "the terminal");
    }
    if (!line) {
        std::fputc('\n', stderr);
        throw PasswordInputError("no password typed");
    }
    return *line;
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
        throw PasswordInputError("cannot read the password from " + std::string(source) + ": " +
                                 std::strerror(errno));
    }
    if (line.empty()) return std::nullopt;
    return StripLineBreak(std::move(line));
}

std::string ReadTypedPassword(const std::optional<std::string>& passwordFile) {
    if (passwordFile) {
        const std::string source = "\"" + *passwordFile + "\"";
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
            std::fopen(passwordFile->c_str(), "rb"), &std::fclose);
        if (!file) {
            throw PasswordInputError("cannot open the password file " + source + ": " +
                                     std::strerror(errno));
        }
        std::optional<std::string> line = ReadFirstLine(file.get(), source);
        if (!line) throw PasswordInputError("the password file " + source + " is empty");
        return *line;
    }
    if (isatty(STDIN_FILENO)) return ReadFromTerminal();
    std::optional<std::string> line = ReadFirstLine(stdin, "standard input");
    if (!line) throw PasswordInputError("no password on standard input");
    return *line;
}

}  // namespace imgcrypt
