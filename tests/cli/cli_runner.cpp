#include "tests/cli/cli_runner.h"

#include "runtime/app_folders.h"
#include "runtime/errors.h"

namespace imgcrypt::test {

std::string CliProgramPath() {
    // Relative to the test program, so the path holds wherever the build
    // folder is seen from (under Wine: a drive letter, not a Linux path).
    return AbsolutePath(ProgramFolder() + NativePath(IMGCRYPT_CLI_FROM_TEST_FOLDER));
}

}  // namespace imgcrypt::test
