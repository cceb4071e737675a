// What only the Windows program does: it expands wildcards in its file
// arguments itself, since cmd.exe and PowerShell leave that to programs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"

namespace imgcrypt {
namespace {

TEST(CliOnWindows, WildcardsInFileArgumentsAreExpanded) {
    test::TempFolder dir;
    const std::string first = dir.Write("相册/照片1.jpg", test::RandomBytes(300, 1));
    const std::string second = dir.Write("相册/照片2.jpg", test::RandomBytes(400, 2));
    dir.Write("相册/说明.txt", "not a photo");

    const test::CliRun run = test::RunCli({"encrypt", dir / "相册/*.jpg"}, "Tiger#42\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("2 of 2 files encrypted"), std::string::npos) << run.err;
    EXPECT_EQ(test::Entries(dir / "相册/encrypted"),
              (std::vector<std::string>{"照片1.jpg", "照片2.jpg"}));

    // A pattern that matches nothing reaches the program as it was typed.
    const test::CliRun none = test::RunCli({"probe", dir / "相册/*.png"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("failed " + (dir / "相册/*.png")), std::string::npos) << none.err;
}

}  // namespace
}  // namespace imgcrypt
