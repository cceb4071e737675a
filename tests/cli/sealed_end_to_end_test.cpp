// The sealed class through the built program, as a script uses it: batches
// of any size round-trip, every refusal is its own message with no output
// for that file, and the other files go on.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/cli/cli_runner.h"

namespace imgcrypt {
namespace {

using test::CliRun;
using test::Exists;
using test::Has;
using test::RandomBytes;
using test::ReadBytes;
using test::RunCli;
using test::TempFolder;

const std::string kPasswordLine = "Tiger#42\n";

class CliSealed : public ::testing::Test {
  protected:
    TempFolder dir_;
    std::string Path(std::string_view relative) const { return dir_ / relative; }
};

TEST_F(CliSealed, BatchesOfAnySizeRoundTripAndMixWithOldContainers) {
    // Beyond the old classes' 5000 KB limit, an empty file, a Chinese name.
    const std::vector<std::string> sources = {
        dir_.Write("big.jpg", RandomBytes(5'200'000, 1)),
        dir_.Write("empty.png", ""),
        dir_.Write("照片.jpg", RandomBytes(70'000, 2)),
    };
    std::vector<std::string> args = {"encrypt", "--class", "sealed", "--suffix", "E"};
    args.insert(args.end(), sources.begin(), sources.end());
    const CliRun enc = RunCli(args, kPasswordLine);
    ASSERT_EQ(enc.status, 0) << enc.err;
    EXPECT_TRUE(Has(enc.err, "3 of 3 files encrypted, 0 skipped, 0 failed"));
    EXPECT_TRUE(Has(ReadBytes(Path("encrypted/big.jpgE")), "IMGCRYPT-SEALED-1\r\n"));

    const std::string old = dir_.Write("old.gif", RandomBytes(3000, 3));
    ASSERT_EQ(RunCli({"encrypt", "--class", "high", "--suffix", "E", old}, kPasswordLine).status,
              0);

    const CliRun dec =
        RunCli({"decrypt", "--suffix", "E", Path("encrypted/big.jpgE"), Path("encrypted/old.gifE"),
                Path("encrypted/empty.pngE"), Path("encrypted/照片.jpgE")},
               kPasswordLine);
    ASSERT_EQ(dec.status, 0) << dec.err;
    EXPECT_TRUE(Has(dec.err, "4 of 4 files decrypted, 0 refused, 0 failed"));
    for (const std::string name : {"big.jpg", "empty.png", "照片.jpg", "old.gif"}) {
        EXPECT_EQ(ReadBytes(Path("encrypted/decrypted/" + name)), ReadBytes(Path(name))) << name;
    }

    const CliRun probe = RunCli(
        {"probe", "--check-password", Path("encrypted/empty.pngE"), Path("encrypted/old.gifE")},
        "Other-pw\n");
    EXPECT_EQ(probe.status, 0) << probe.err;
    EXPECT_TRUE(Has(probe.out,
                    Path("encrypted/empty.pngE") + ": sealed container, password does not match"));
    EXPECT_TRUE(Has(probe.out, Path("encrypted/old.gifE") +
                                   ": container, high class, password does not match"));
}

TEST_F(CliSealed, EachRefusalHasItsMessageAndNoOutputWhileTheRestGoesOn) {
    for (const char* name : {"good.jpg", "theirs.jpg", "damaged.jpg", "newer.jpg"}) {
        dir_.Write(name, RandomBytes(140'000, 4));
    }
    ASSERT_EQ(RunCli({"encrypt", "--class", "sealed", Path("good.jpg"), Path("damaged.jpg"),
                      Path("newer.jpg")},
                     kPasswordLine)
                  .status,
              0);
    ASSERT_EQ(RunCli({"encrypt", "--class", "sealed", Path("theirs.jpg")}, "Other-pw\n").status, 0);
    std::string damaged = ReadBytes(Path("encrypted/damaged.jpg"));
    char& c = damaged[damaged.size() / 2];
    c = c == 'A' ? 'B' : 'A';
    dir_.Write("encrypted/damaged.jpg", damaged);
    std::string newer = ReadBytes(Path("encrypted/newer.jpg"));
    newer[16] = '2';  // IMGCRYPT-SEALED-2
    dir_.Write("encrypted/newer.jpg", newer);

    const std::vector<std::string> files = {
        Path("encrypted/theirs.jpg"), Path("encrypted/damaged.jpg"), Path("encrypted/newer.jpg"),
        Path("encrypted/good.jpg")};
    std::vector<std::string> args = {"decrypt", "--force"};
    args.insert(args.end(), files.begin(), files.end());
    const CliRun run = RunCli(args, kPasswordLine);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "refused " + files[0] + ": Illegal password\n"));
    EXPECT_TRUE(Has(run.err, "failed " + files[1] +
                                 ": The file is damaged or was changed after it was sealed: "
                                 "damaged.jpg\n"));
    EXPECT_TRUE(Has(run.err, "failed " + files[2] +
                                 ": The file was sealed by a newer version and cannot be opened "
                                 "by this one (unsupported: format version 2): newer.jpg\n"));
    EXPECT_TRUE(Has(run.err, "1 of 4 files decrypted, 1 refused, 2 failed"));
    EXPECT_EQ(test::Entries(Path("encrypted/decrypted")), std::vector<std::string>{"good.jpg"});
    EXPECT_EQ(ReadBytes(Path("encrypted/decrypted/good.jpg")), ReadBytes(Path("good.jpg")));

    const CliRun ch = RunCli({"decrypt", "--lang", "ch", files[1]}, kPasswordLine);
    EXPECT_EQ(ch.status, 1);
    EXPECT_TRUE(Has(ch.err, "文件已损坏或在密封后被改动：damaged.jpg"));
}

}  // namespace
}  // namespace imgcrypt
