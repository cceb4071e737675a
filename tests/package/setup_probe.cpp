// The setup test's hands on Windows: starts the program a shortcut points
// at, with files, as "Send to" does, and tells what its window shows.
//
//   setup_probe SHORTCUT [FILE...]
//
// Prints "target: " the shortcut's program, "caption: " and "folder: " (the
// folder box) of its window; with files it presses Encrypt with a password
// and prints "box: " the text of the box that ends the run; then closes the
// window and prints "exit: " the program's exit code. Line breaks inside a
// text become blanks. Exits 1 when a step fails.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "runtime/utf16.h"
#include "tests/winui/started_window.h"

namespace {

void Print(const std::string& label, std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    std::printf("%s: %s\n", label.c_str(), text.c_str());
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using imgcrypt::Utf8FromUtf16;
    using imgcrypt::winui::test::StartedWindow;
    if (argc < 2) {
        std::fputs("usage: setup_probe SHORTCUT [FILE...]\n", stderr);
        return 2;
    }
    try {
        const std::string target = imgcrypt::winui::test::ShortcutTarget(Utf8FromUtf16(argv[1]));
        Print("target", target);
        std::vector<std::string> files;
        for (int i = 2; i < argc; ++i) files.push_back(Utf8FromUtf16(argv[i]));
        StartedWindow window(target, files);
        Print("caption", window.Caption());
        Print("folder", window.Text(imgcrypt::form::Id::edtdir));
        if (!files.empty()) Print("box", window.Encrypt("secret1"));
        Print("exit", std::to_string(window.Close()));
        return 0;
    } catch (const std::exception& e) {
        Print("failed", e.what());
        return 1;
    }
}
