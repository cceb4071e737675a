// The password from a standard input that is no terminal or console: a pipe
// (as from `echo`, which ends the line in CR LF on Windows) or the null
// device, which the C runtime on Windows would call a terminal.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli/cli_runner.h"

namespace imgcrypt {
namespace {

using test::RunCli;
using test::StandardInput;

TEST(CliStandardInput, APipeGivesItsFirstLineWithoutAPrompt) {
    test::TempFolder dir;
    const std::string file = dir.Write("a.jpg", std::string(100, 'x'));
    const test::CliRun enc =
        RunCli({"encrypt", file}, "Tiger#42\r\nrest\r\n", {}, StandardInput::Pipe);
    ASSERT_EQ(enc.status, 0) << enc.err;
    EXPECT_EQ(enc.err.find("Password"), std::string::npos) << enc.err;

    const test::CliRun probe = RunCli({"probe", "--check-password", dir / "encrypted/a.jpg"},
                                      "Tiger#42\n", {}, StandardInput::Pipe);
    EXPECT_EQ(probe.status, 0) << probe.err;
    EXPECT_NE(probe.out.find("password matches"), std::string::npos) << probe.out;
}

TEST(CliStandardInput, TheNullDeviceHasNoPassword) {
    test::TempFolder dir;
    const std::string file = dir.Write("a.jpg", std::string(100, 'x'));
    const test::CliRun run = RunCli({"encrypt", file}, "", {}, StandardInput::NullDevice);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("no password on standard input"), std::string::npos) << run.err;
    EXPECT_FALSE(test::Exists(dir / "encrypted"));
}

}  // namespace
}  // namespace imgcrypt
