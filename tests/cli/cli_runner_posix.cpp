#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/cli/cli_runner.h"

namespace imgcrypt::test {
namespace {

// A descriptor the child reads its standard input from; -1 on failure.
int OpenInput(StandardInput from, const std::string& input, const std::string& inPath) {
    switch (from) {
        case StandardInput::File:
            return ::open(inPath.c_str(), O_RDONLY | O_CLOEXEC);
        case StandardInput::NullDevice:
            return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        case StandardInput::Pipe: {
            int ends[2];
            if (::pipe2(ends, O_CLOEXEC) != 0) return -1;
            const bool written =
                ::write(ends[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
            ::close(ends[1]);
            if (written) return ends[0];
            ::close(ends[0]);
            return -1;
        }
    }
    return -1;
}

}  // namespace

int StartCliAndWait(const std::vector<std::string>& args, const std::string& input,
                    const std::string& workDir, StandardInput from, const CliStreamFiles& files) {
    std::vector<char*> argv;
    std::string program = CliProgramPath();
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);

    const int in = OpenInput(from, input, files.in);
    if (in < 0) throw std::runtime_error("no standard input for the program");
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int out = open(files.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(files.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || (!workDir.empty() && chdir(workDir.c_str()) != 0)) _exit(127);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ::close(in);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

}  // namespace imgcrypt::test
