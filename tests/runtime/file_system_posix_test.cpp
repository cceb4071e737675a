// The file layer on POSIX systems: what only permission bits can show.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "runtime/app_folders.h"
#include "runtime/errors.h"
#include "runtime/line_text_file.h"
#include "runtime/whole_file.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

// Replacing writes go through a temporary file; the final file must still
// get what a plain create under the user's umask gives.
TEST(PosixFileSystem, ReplacedFilesGetOrdinaryPermissions) {
    test::TempFolder folder;
    const std::string whole = folder / "a.jpg";
    const std::string text = folder / "text.txt";

    const mode_t old = ::umask(027);
    WriteWholeFileReplacing(whole, "x");
    ::umask(022);
    LineTextFile file = CreateTextForReplacing(text);
    CloseText(file);
    ::umask(old);

    EXPECT_EQ(ModeOf(whole), 0640u);
    EXPECT_EQ(ModeOf(text), 0644u);
}

// Files may grow to `bytes` at most for its lifetime; a write beyond fails
// with EFBIG, as one on a full disk fails with ENOSPC.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// A write that fails half-way is reported as each kind of file reports its
// failures (a line-text file as "I/O error", a whole file as "Cannot
// create"), and leaves the old file and no temporary behind.
TEST(PosixFileSystem, AWriteThatFailsHalfWayKeepsTheOldFile) {
    test::TempFolder folder;
    const std::string whole = folder / "a.jpg";
    const std::string text = folder / "text.txt";
    test::WriteBytes(whole, "old");
    test::WriteBytes(text, "old");
    const std::string big(1 << 20, 'n');
    {
        const FileSizeLimit limit(64 * 1024);
        EXPECT_THROW(WriteWholeFileReplacing(whole, big), EFCreateError);
        LineTextFile file = CreateTextForReplacing(text);
        EXPECT_THROW(
            {
                PutText(file, big);
                CloseText(file);
            },
            EInOutError);
    }
    EXPECT_EQ(test::ReadBytes(whole), "old");
    EXPECT_EQ(test::ReadBytes(text), "old");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.jpg", "text.txt"}));
}

// Sets an environment variable for its lifetime.
class EnvironmentValue {
  public:
    EnvironmentValue(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        ::setenv(name, value, 1);
    }
    ~EnvironmentValue() {
        if (saved_) {
            ::setenv(name_, saved_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(PosixAppFolders, TheUsersFolderFollowsXdgConfigHome) {
    const EnvironmentValue home("HOME", "/home/u");
    {
        const EnvironmentValue config("XDG_CONFIG_HOME", "/srv/conf");
        EXPECT_EQ(UserConfigFolder(), "/srv/conf/imgcrypt/");
    }
    // Only an absolute folder counts; otherwise the home's default.
    const EnvironmentValue relative("XDG_CONFIG_HOME", "conf");
    EXPECT_EQ(UserConfigFolder(), "/home/u/.config/imgcrypt/");
}

}  // namespace
}  // namespace imgcrypt
