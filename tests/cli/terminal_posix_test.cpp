// The password typed at a terminal: prompt on the terminal, no echo. (A
// Windows console cannot be driven from a test; standard_input_test.cpp
// covers what is not a console on both platforms.)
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/cli/cli_runner.h"

namespace imgcrypt {
namespace {

using test::RunCli;
using test::TempFolder;

// Reads from the terminal's master side until `until` shows up or the
// program closes its side.
void ReadUntil(int master, std::string& seen, std::string_view until) {
    char buffer[256];
    while (until.empty() || seen.find(until) == std::string::npos) {
        pollfd pfd{master, POLLIN, 0};
        if (poll(&pfd, 1, 10000) <= 0) return;
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) return;
        seen.append(buffer, static_cast<std::size_t>(n));
    }
}

TEST(CliTerminal, PasswordIsTypedWithoutEcho) {
    TempFolder dir;
    const std::string file = dir.Write("a.jpg", std::string(100, 'x'));
    ASSERT_EQ(RunCli({"encrypt", file}, "Tiger#42\n").status, 0);
    const std::string container = dir / "encrypted/a.jpg";

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slaveName = ptsname(master);

    std::string program = test::CliProgramPath();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setsid();
        const int slave = open(slaveName.c_str(), O_RDWR);
        if (slave < 0) _exit(127);
        dup2(slave, STDIN_FILENO);
        dup2(slave, STDOUT_FILENO);
        dup2(slave, STDERR_FILENO);
        std::string a0 = "probe", a1 = "--check-password";
        std::string a2 = container;
        char* argv[] = {program.data(), a0.data(), a1.data(), a2.data(), nullptr};
        execv(argv[0], argv);
        _exit(127);
    }
    std::string seen;
    ReadUntil(master, seen, "Password: ");
    ASSERT_NE(seen.find("Password: "), std::string::npos) << seen;
    ASSERT_EQ(write(master, "Tiger#42\n", 9), 9);
    ReadUntil(master, seen, "");
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << seen;
    EXPECT_EQ(seen.find("Tiger#42"), std::string::npos) << seen;
    EXPECT_NE(seen.find("password matches"), std::string::npos) << seen;
}

}  // namespace
}  // namespace imgcrypt
