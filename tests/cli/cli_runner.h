// Runs the built `imgcrypt` program with given arguments and standard input,
// and a temporary folder for the files the tests make.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace imgcrypt::testing {

struct CliRun {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs the program in `workDir` with `input` as standard input (a file, never
// a terminal).
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
              const std::filesystem::path& workDir = std::filesystem::current_path());

// A fresh folder, removed with everything in it at the end of its life.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }
    // Writes `bytes` to a file in the folder and returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
std::string RandomBytes(std::size_t n, unsigned seed);

}  // namespace imgcrypt::testing
