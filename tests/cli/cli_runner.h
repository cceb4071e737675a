// Runs the built `imgcrypt` program with given arguments and standard input,
// and a temporary folder for the files the tests make.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace imgcrypt::test {

struct CliRun {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs the program in `workDir` with `input` as standard input (a file, never
// a terminal).
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
              const std::filesystem::path& workDir = std::filesystem::current_path());

}  // namespace imgcrypt::test
