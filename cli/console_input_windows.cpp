// Password input at a Windows console: echo off through the console mode,
// put back by a control handler when Ctrl-C or a closing window ends the
// program; the line is read as UTF-16 and handed on as UTF-8.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "cli/console_input.h"
#include "cli/password_input.h"
#include "codec/secret_bytes.h"
#include "runtime/errors.h"
#include "runtime/utf16.h"

namespace imgcrypt {
namespace {

// The mode to put back from the control handler, which runs on a thread of
// its own while the main thread waits in ReadConsoleW.
std::atomic<DWORD> gSavedConsoleMode{0};
std::atomic<bool> gEchoOff{false};

HANDLE ConsoleInput() {
    return ::GetStdHandle(STD_INPUT_HANDLE);
}

BOOL WINAPI RestoreEchoAndGoOn(DWORD /*event*/) {
    if (gEchoOff.exchange(false)) ::SetConsoleMode(ConsoleInput(), gSavedConsoleMode.load());
    return FALSE;  // the default handler still ends the program
}

// Turns echo off for its lifetime; Ctrl-C and a closing console restore it.
class EchoOff {
  public:
    EchoOff() {
        DWORD mode = 0;
        if (!::GetConsoleMode(ConsoleInput(), &mode)) return;
        gSavedConsoleMode = mode;
        ::SetConsoleCtrlHandler(RestoreEchoAndGoOn, TRUE);
        const DWORD quiet = (mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT |
                            ENABLE_PROCESSED_INPUT;
        gEchoOff = ::SetConsoleMode(ConsoleInput(), quiet) != 0;
        active_ = true;
    }
    ~EchoOff() {
        if (!active_) return;
        if (gEchoOff.exchange(false)) ::SetConsoleMode(ConsoleInput(), gSavedConsoleMode.load());
        ::SetConsoleCtrlHandler(RestoreEchoAndGoOn, FALSE);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    bool active_ = false;
};

// Reads up to the end of the line (or kMaxPasswordLine characters). Nothing
// when the console input ends (Ctrl-Z) before the first character. The line
// has room for the longest read from the start and each piece is wiped once
// taken, so no copy of the password is left behind in memory.
std::optional<std::wstring> ReadConsoleLine() {
    std::wstring line;
    wchar_t buffer[256];
    line.reserve(kMaxPasswordLine + std::size(buffer));
    while (line.find(L'\n') == std::wstring::npos && line.size() < kMaxPasswordLine) {
        DWORD got = 0;
        if (!::ReadConsoleW(ConsoleInput(), buffer, static_cast<DWORD>(std::size(buffer)), &got,
                            nullptr)) {
            throw EPasswordInputError("cannot read the password from the console: " +
                                      SystemErrorText(static_cast<int>(::GetLastError())));
        }
        if (got == 0) break;
        line.append(buffer, got);
        WipeBytes(buffer, got * sizeof(wchar_t));
    }
    if (line.empty() || line.front() == L'\x1A') return std::nullopt;
    if (const std::size_t lineFeed = line.find(L'\n'); lineFeed != std::wstring::npos) {
        line.resize(lineFeed);
    }
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    return line;
}

}  // namespace

bool StdinIsConsole() {
    DWORD mode = 0;
    return ::GetConsoleMode(ConsoleInput(), &mode) != 0;
}

std::optional<std::string> ReadConsoleLineWithoutEcho(const char* prompt) {
    std::optional<std::wstring> line;
    {
        // Echo goes off before the prompt, so nothing typed after it shows.
        EchoOff echoOff;
        std::fputs(prompt, stderr);
        std::fflush(stderr);
        line = ReadConsoleLine();
    }
    if (!line) return std::nullopt;
    // The console did not echo the Enter that ended the line.
    std::fputc('\n', stderr);
    std::string text = Utf8FromUtf16(*line);
    WipeBytes(line->data(), line->size() * sizeof(wchar_t));
    if (text.size() > kMaxPasswordLine) text.resize(kMaxPasswordLine);
    return text;
}

}  // namespace imgcrypt
