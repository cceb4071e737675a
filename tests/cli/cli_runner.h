// Runs the built `imgcrypt` program with given arguments and standard input,
// as a script would. One implementation per platform: cli_runner_posix.cpp
// (fork and exec), cli_runner_windows.cpp (CreateProcessW).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

namespace imgcrypt::test {

struct CliRun {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// What the program's standard input is: never a terminal or console.
enum class StandardInput { File, Pipe, NullDevice };

// The program under test, found from the test program's own folder.
std::string CliProgramPath();

// Runs the program in `workDir` (UTF-8; empty: the current folder) with
// `input` as standard input. A pipe is filled before the program starts, so
// `input` must fit its buffer (a few kilobytes); the null device ignores it.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
              const std::string& workDir = {}, StandardInput from = StandardInput::File);

// Where a run's standard streams go: files, so no pipe can fill up and block.
struct CliStreamFiles {
    std::string in;  // holds the input, for StandardInput::File
    std::string out;
    std::string err;
};

// The platform's part of RunCli: starts the program, waits for it and
// returns its exit status (-1 when it did not exit normally).
int StartCliAndWait(const std::vector<std::string>& args, const std::string& input,
                    const std::string& workDir, StandardInput from, const CliStreamFiles& files);

// Whether a report holds `part`; shows the whole report when it does not.
inline ::testing::AssertionResult Has(const std::string& text, std::string_view part) {
    if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "'" << part << "' not in:\n" << text;
}

}  // namespace imgcrypt::test
