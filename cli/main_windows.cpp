// The Windows entry: arguments arrive as UTF-16 and are handed on as UTF-8,
// output bytes are the same as the Linux build's (UTF-8, LF line ends).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "runtime/utf16.h"

namespace {

// UTF-8 output in the console for as long as the program runs; the console
// outlives the program, so its code page is put back.
class ConsoleOutputUtf8 {
  public:
    ConsoleOutputUtf8() : saved_(::GetConsoleOutputCP()) { ::SetConsoleOutputCP(CP_UTF8); }
    ~ConsoleOutputUtf8() {
        if (saved_ != 0) ::SetConsoleOutputCP(saved_);
    }
    ConsoleOutputUtf8(const ConsoleOutputUtf8&) = delete;
    ConsoleOutputUtf8& operator=(const ConsoleOutputUtf8&) = delete;

  private:
    UINT saved_;
};

}  // namespace

// File arguments with * and ? are expanded by the C runtime before wmain, as
// a POSIX shell expands them: cmd.exe and PowerShell leave that to programs.
extern "C" {
int _dowildcard = -1;
}

int wmain(int argc, wchar_t** argv) {
    const ConsoleOutputUtf8 utf8Console;
    // Text mode would turn "\n" into "\r\n" and stop reading at Ctrl-Z.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    std::vector<std::string> utf8(static_cast<std::size_t>(argc > 1 ? argc - 1 : 0));
    for (int i = 1; i < argc; ++i)
        utf8[static_cast<std::size_t>(i - 1)] = imgcrypt::Utf8FromUtf16(argv[i]);
    const std::vector<std::string_view> args(utf8.begin(), utf8.end());
    const int status = imgcrypt::RunCommandLine(args, std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    return status;
}
