// Password input at a POSIX terminal: echo off through the terminal
// settings, put back by the signals that end the program too.
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/console_input.h"
#include "cli/password_input.h"

namespace imgcrypt {
namespace {

// Terminal settings to put back if a signal ends the program while echo is
// off; a signal handler can reach nothing but file-level state.
struct termios gSavedTerminal;
volatile std::sig_atomic_t gEchoOff = 0;

constexpr int kRestoreSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RestoreTerminalAndDie(int sig) {
    if (gEchoOff) tcsetattr(STDIN_FILENO, TCSANOW, &gSavedTerminal);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Turns echo off for its lifetime; Ctrl-C and friends still restore it.
class EchoOff {
  public:
    EchoOff() {
        if (tcgetattr(STDIN_FILENO, &gSavedTerminal) != 0) return;
        for (std::size_t i = 0; i < std::size(kRestoreSignals); ++i) {
            previous_[i] = std::signal(kRestoreSignals[i], RestoreTerminalAndDie);
        }
        struct termios quiet = gSavedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        gEchoOff = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0 ? 1 : 0;
        active_ = true;
    }
    ~EchoOff() {
        if (!active_) return;
        if (gEchoOff) tcsetattr(STDIN_FILENO, TCSANOW, &gSavedTerminal);
        gEchoOff = 0;
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

}  // namespace

bool StdinIsConsole() {
    return isatty(STDIN_FILENO) != 0;
}

std::optional<std::string> ReadConsoleLineWithoutEcho(const char* prompt) {
    // Echo goes off before the prompt, so nothing typed after it shows. The
    // terminal itself echoes the final line break (ECHONL).
    EchoOff echoOff;
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    return ReadFirstLine(stdin, "the terminal");
}

}  // namespace imgcrypt
