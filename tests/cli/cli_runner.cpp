#include "tests/cli/cli_runner.h"

#include "runtime/app_folders.h"
#include "runtime/errors.h"

namespace imgcrypt::test {

std::string CliProgramPath() {
    // Relative to the test program, so the path holds wherever the build
    // folder is seen from (under Wine: a drive letter, not a Linux path).
    return AbsolutePath(ProgramFolder() + NativePath(IMGCRYPT_CLI_FROM_TEST_FOLDER));
}

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::string& workDir, StandardInput from) {
    const TempFolder streams;
    const CliStreamFiles files{streams.Write("stdin", input), streams / "stdout",
                               streams / "stderr"};
    CliRun run;
    run.status = StartCliAndWait(args, input, workDir, from, files);
    run.out = ReadBytes(files.out);
    run.err = ReadBytes(files.err);
    return run;
}

}  // namespace imgcrypt::test
