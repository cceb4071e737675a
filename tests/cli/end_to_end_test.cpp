#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "codec/container.h"
#include "runtime/errors.h"
#include "runtime/generator.h"
#include "runtime/paths.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/container_bytes.h"
#include "tests/support/platform_files.h"

namespace imgcrypt {
namespace {

using test::CliRun;
using test::Exists;
using test::Has;
using test::RandomBytes;
using test::ReadBytes;
using test::RunCli;
using test::TempFolder;
using test::WriteBytes;

constexpr std::string_view kPassword = "Tiger#42";
const std::string kPasswordLine = std::string(kPassword) + "\n";

class CliEndToEnd : public ::testing::Test {
  protected:
    TempFolder dir_;
    // `relative` may hold "/" between folders.
    std::string Path(std::string_view relative) const { return dir_ / relative; }
    std::string Make(const std::string& name, std::size_t size, unsigned seed = 1) const {
        return dir_.Write(name, RandomBytes(size, seed));
    }
};

TEST_F(CliEndToEnd, RoundTripsEverySizeInBothClassesAndNamings) {
    const std::vector<std::size_t> sizes = {0, 1, 12, 13, 14, 57, 58, 114, 1000, 200000};
    for (const char* cls : {"standard", "high"}) {
        for (const char* suffix : {"none", "E"}) {
            SCOPED_TRACE(std::string(cls) + " " + suffix);
            const std::string folder = std::string(cls) + suffix;
            std::vector<std::string> encryptArgs = {"encrypt", "--class", cls, "--suffix", suffix};
            std::vector<std::string> decryptArgs = {"decrypt", "--suffix", suffix};
            for (std::size_t size : sizes) {
                const std::string name = "f" + std::to_string(size) + ".jpg";
                encryptArgs.push_back(dir_.Write(folder + "/" + name,
                                                 RandomBytes(size, static_cast<unsigned>(size))));
                decryptArgs.push_back(
                    Path(folder + "/encrypted/" + name + (std::string(suffix) == "E" ? "E" : "")));
            }
            const CliRun enc = RunCli(encryptArgs, kPasswordLine);
            ASSERT_EQ(enc.status, 0) << enc.err;
            EXPECT_TRUE(Has(enc.err, "10 of 10 files encrypted, 0 skipped, 0 failed"));
            EXPECT_TRUE(Has(enc.err, "encrypted " + encryptArgs[5] + " -> " + decryptArgs[3]));

            const CliRun dec = RunCli(decryptArgs, kPasswordLine);
            ASSERT_EQ(dec.status, 0) << dec.err;
            EXPECT_TRUE(Has(dec.err, "10 of 10 files decrypted, 0 refused, 0 failed"));
            for (std::size_t size : sizes) {
                const std::string name = "f" + std::to_string(size) + ".jpg";
                EXPECT_EQ(ReadBytes(Path(folder + "/encrypted/decrypted/" + name)),
                          ReadBytes(Path(folder + "/" + name)))
                    << name;
            }
        }
    }
}

TEST_F(CliEndToEnd, ContainersFollowTheGeneratorFromItsStartInEveryRun) {
    const std::string a = Make("a.png", 3000, 7);
    const std::string b = Make("b.png", 4500, 8);
    for (EncryptionClass cls : {EncryptionClass::High, EncryptionClass::Standard}) {
        const bool high = cls == EncryptionClass::High;
        const CliRun run =
            RunCli({"encrypt", "--class", high ? "high" : "standard", a, b}, kPasswordLine);
        ASSERT_EQ(run.status, 0) << run.err;
        SetGeneratorState(0);
        const std::string first = test::MakeContainerFile(ReadBytes(a), kPassword, cls);
        const std::string second = test::MakeContainerFile(ReadBytes(b), kPassword, cls);
        EXPECT_EQ(ReadBytes(Path("encrypted/a.png")), first) << high;
        EXPECT_EQ(ReadBytes(Path("encrypted/b.png")), second) << high;
    }
}

TEST_F(CliEndToEnd, SizeLimitSkipsAtFiveThousandKilobytes) {
    const std::string small = Make("small.jpg", 1024);
    const std::string justUnder = Make("under.jpg", 5'119'999, 2);
    const std::string atLimit = Make("limit.jpg", 5'120'000, 3);

    const CliRun run = RunCli({"encrypt", small, atLimit, justUnder}, kPasswordLine);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "skipped " + atLimit + ": 5000 KB or more"));
    EXPECT_TRUE(Has(run.err, "2 of 3 files encrypted, 1 skipped, 0 failed"));
    EXPECT_TRUE(
        Has(run.err, "1 of 3 images are larger than 5MB which not support, 2 images done."));
    EXPECT_TRUE(Exists(Path("encrypted/under.jpg")));
    EXPECT_TRUE(Exists(Path("encrypted/small.jpg")));
    EXPECT_FALSE(Exists(Path("encrypted/limit.jpg")));

    const CliRun ch = RunCli({"encrypt", "--lang", "ch", atLimit, small}, kPasswordLine);
    EXPECT_EQ(ch.status, 1);
    EXPECT_TRUE(Has(ch.err, "2 个照片中的 1 个照片大于5MB，只有 1 个被加密。"));
}

TEST_F(CliEndToEnd, WrongPasswordIsRefusedPerFileAndTheRunGoesOn) {
    const std::string mine = Make("mine.jpg", 500, 4);
    const std::string theirs = Make("theirs.jpg", 600, 5);
    ASSERT_EQ(RunCli({"encrypt", mine}, kPasswordLine).status, 0);
    ASSERT_EQ(RunCli({"encrypt", theirs}, "Other-pw\n").status, 0);
    const std::string mineC = Path("encrypted/mine.jpg");
    const std::string theirsC = Path("encrypted/theirs.jpg");

    const CliRun run = RunCli({"decrypt", theirsC, mineC}, kPasswordLine);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "refused " + theirsC + ": Illegal password"));
    EXPECT_TRUE(Has(run.err, "1 of 2 files decrypted, 1 refused, 0 failed"));
    EXPECT_FALSE(Exists(Path("encrypted/decrypted/theirs.jpg")));
    EXPECT_EQ(ReadBytes(Path("encrypted/decrypted/mine.jpg")), ReadBytes(mine));

    // Case counts, --force does not override a password, Chinese text.
    const CliRun upper = RunCli({"decrypt", "--force", "--lang", "ch", mineC}, "TIGER#42\n");
    EXPECT_EQ(upper.status, 1);
    EXPECT_TRUE(Has(upper.err, "refused " + mineC + ": 密码错误"));
}

TEST_F(CliEndToEnd, NonContainerRefusedUnlessForced) {
    const std::string plain = dir_.Write("notes.txt", "aGVsbG8gd29ybGQ=\r\n");
    const CliRun refused = RunCli({"decrypt", plain}, kPasswordLine);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Has(refused.err, "refused " + plain + ": not an encrypted image"));
    EXPECT_FALSE(Exists(Path("decrypted/notes.txt")));

    const CliRun forced = RunCli({"decrypt", "--force", plain}, kPasswordLine);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(Exists(Path("decrypted/notes.txt")));
    EXPECT_EQ(ReadBytes(plain), "aGVsbG8gd29ybGQ=\r\n");  // the source is left alone
}

// The probe reads the bytes before the first NUL, so a NUL inside a large
// container makes it no container; the command line only learns that while
// it decrypts, and must still refuse before anything is written.
TEST_F(CliEndToEnd, ANulInsideALargeContainerIsFoundBeforeWriting) {
    SetGeneratorState(0);
    std::string container =
        test::MakeContainerFile(RandomBytes(400000, 5), kPassword, EncryptionClass::Standard);
    container.insert(container.size() / 2, 1, '\0');
    const std::string file = dir_.Write("odd.jpg", container);
    const CliRun refused = RunCli({"decrypt", file}, kPasswordLine);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Has(refused.err, "refused " + file + ": not an encrypted image"));
    EXPECT_EQ(test::Entries(Path("decrypted")), std::vector<std::string>{});

    const CliRun forced = RunCli({"decrypt", "--force", file}, kPasswordLine);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(ReadBytes(Path("decrypted/odd.jpg")), test::DecodeContainerBytes(container));
}

TEST_F(CliEndToEnd, ProbeReportsClassAndPasswordWithoutWriting) {
    const std::string s = Make("s.jpg", 300, 9);
    const std::string h = Make("h.jpg", 300, 10);
    ASSERT_EQ(RunCli({"encrypt", s}, kPasswordLine).status, 0);
    ASSERT_EQ(RunCli({"encrypt", "--class", "high", h}, kPasswordLine).status, 0);
    const std::string sc = Path("encrypted/s.jpg");
    const std::string hc = Path("encrypted/h.jpg");
    const std::string empty = dir_.Write("empty.jpg", "");
    const std::string missing = Path("missing.jpg");

    const CliRun bare = RunCli({"probe", sc, hc, s, empty, missing});
    EXPECT_EQ(bare.status, 1);
    EXPECT_EQ(bare.out, sc + ": container, standard class\n" + hc + ": container, high class\n" +
                            s + ": not a container\n" + empty + ": not a container\n");
    EXPECT_TRUE(Has(bare.err, "failed " + missing + ": Cannot open file"));
    EXPECT_TRUE(Has(bare.err, "4 of 5 files probed, 1 failed"));

    const CliRun right = RunCli({"probe", "--check-password", sc, hc}, kPasswordLine);
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_EQ(right.out, sc + ": container, standard class, password matches\n" + hc +
                             ": container, high class, password matches\n");

    const std::string pwFile = dir_.Write("pw.txt", "nope!\r\n");
    const CliRun wrong = RunCli({"probe", "--password-file", pwFile, hc, empty});
    EXPECT_EQ(wrong.status, 0) << wrong.err;
    EXPECT_EQ(wrong.out, hc + ": container, high class, password does not match\n" + empty +
                             ": not a container, password does not match\n");
    EXPECT_FALSE(Exists(Path("decrypted")));
    EXPECT_FALSE(Exists(Path("encrypted/decrypted")));
}

TEST_F(CliEndToEnd, PasswordBreakingTheRulesStopsBeforeAnyFile) {
    const std::string a = Make("a.jpg", 100);
    struct Case {
        std::vector<std::string> options;
        std::string input;
        std::string expectedErr;
    };
    const std::vector<Case> cases = {
        {{"encrypt"}, "abcd\n", "Password length should large than 4 bits\n"},
        {{"encrypt"}, "ab cdef\n", "No blank allowd in password\n"},
        {{"encrypt"},
         "abc\x01"
         "def\n",
         "str0[i]:\x01\nFound illegal char(s) in passowrd\n"},
        {{"encrypt"}, "0123456789A\n", "Password should have at most 10 characters\n"},
        {{"encrypt", "--lang", "ch"}, "abc\n", "密码必需大于4位！\n"},
        {{"decrypt"}, "\n", "Password length should large than 4 bits\n"},
        {{"decrypt", "--lang", "ch"}, "abc def\n", "密码不支持空格\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(a);
        const CliRun run = RunCli(args, c.input);
        EXPECT_EQ(run.status, 2) << c.input;
        EXPECT_EQ(run.err, c.expectedErr);
    }
    EXPECT_FALSE(Exists(Path("encrypted")));
    EXPECT_FALSE(Exists(Path("已加密")));
    EXPECT_FALSE(Exists(Path("decrypted")));
}

// Chinese names in every place: the source folder and file, the output
// folders of the Chinese texts, relative and absolute arguments.
TEST_F(CliEndToEnd, ChineseFileAndFolderNamesRoundTrip) {
    const std::string photo = dir_.Write("相册/照片.jpg", RandomBytes(2000, 11));
    const CliRun enc = RunCli({"encrypt", "--lang", "ch", "--suffix", "E", photo}, kPasswordLine);
    ASSERT_EQ(enc.status, 0) << enc.err;
    const std::string container = Path("相册/已加密/照片.jpgE");
    EXPECT_TRUE(Has(enc.err, "encrypted " + photo + " -> " + container + "\n"));
    ASSERT_TRUE(Exists(container));
    const CliRun dec =
        RunCli({"decrypt", "--lang", "ch", "--suffix", "E", test::NativePath("已加密/照片.jpgE")},
               kPasswordLine, Path("相册"));
    ASSERT_EQ(dec.status, 0) << dec.err;
    EXPECT_EQ(ReadBytes(Path("相册/已加密/已解密/照片.jpg")), ReadBytes(photo));
    EXPECT_EQ(test::Entries(Path("相册/已加密/已解密")), std::vector<std::string>{"照片.jpg"});
}

TEST_F(CliEndToEnd, PasswordSources) {
    const std::string a = Make("a.jpg", 100);
    // The file wins over standard input; CR LF is only a line break.
    const std::string pwFile = dir_.Write("pw", std::string(kPassword) + "\r\nsecond\n");
    ASSERT_EQ(RunCli({"encrypt", "--password-file", pwFile, a}, "ignored\n").status, 0);
    EXPECT_TRUE(
        Has(RunCli({"probe", "--check-password", Path("encrypted/a.jpg")}, kPasswordLine).out,
            "password matches"));

    const CliRun noInput = RunCli({"encrypt", a}, "");
    EXPECT_EQ(noInput.status, 2);
    EXPECT_TRUE(Has(noInput.err, "no password on standard input"));

    const CliRun noFile = RunCli({"decrypt", "--password-file", Path("absent"), a});
    EXPECT_EQ(noFile.status, 2);
    EXPECT_TRUE(Has(noFile.err, "cannot open the password file"));
}

TEST_F(CliEndToEnd, UsageErrorsHelpAndVersion) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"encrypt"},
                                               {"encrypt", "--bogus", "x"},
                                               {"decrypt", "--suffix", "Q", "x"},
                                               {"frobnicate", "x"}}) {
        const CliRun run = RunCli(args, kPasswordLine);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(Has(run.err, "imgcrypt: "));
        EXPECT_TRUE(Has(run.err, "imgcrypt --help"));
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(Has(help.out, "Exit status"));
    EXPECT_EQ(help.err, "");
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(Has(version.out, "imgcrypt "));
}

TEST_F(CliEndToEnd, FailuresAreReportedAndTheRunGoesOn) {
    const std::string good = Make("good.jpg", 100);
    const std::string missing = Path("missing.jpg");
    test::MakeFolders(Path("folder"));
    const CliRun run = RunCli({"encrypt", missing, Path("folder"), good}, kPasswordLine);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "failed " + missing + ": Cannot open file \"" + missing + "\"."));
    EXPECT_TRUE(Has(run.err, "failed " + Path("folder") + ": is a folder"));
    EXPECT_TRUE(Has(run.err, "1 of 3 files encrypted, 0 skipped, 2 failed"));
    EXPECT_TRUE(Exists(Path("encrypted/good.jpg")));
}

TEST_F(CliEndToEnd, OutputFolderThatCannotBeMadeIsNamedWithTheReason) {
    const std::string source = Make("ro/x.jpg", 100);
    // A file takes the output folder's name: that stops every user, root
    // included, on every platform.
    dir_.Write("ro/encrypted", "a file in the way");
    const CliRun run = RunCli({"encrypt", source}, kPasswordLine);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "failed " + source + ": cannot create the folder \"" +
                                 Path("ro/encrypted/") +
                                 "\": " + SystemErrorText(test::kErrAlreadyExists) + "\n"));
    EXPECT_TRUE(Has(run.err, "0 of 1 files encrypted, 0 skipped, 1 failed"));
}

TEST_F(CliEndToEnd, RelativePathsStayRelativeInTheReport) {
    Make("a.jpg", 100);
    const CliRun run = RunCli({"encrypt", "--suffix", "E", "a.jpg"}, kPasswordLine, dir_.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "encrypted a.jpg -> " + test::NativePath("encrypted/a.jpgE\n")));
    const CliRun dec = RunCli({"decrypt", "encrypted/a.jpgE"}, kPasswordLine, dir_.path());
    ASSERT_EQ(dec.status, 0) << dec.err;
    // The folder as typed in, the rest joined with the platform's separator.
    EXPECT_TRUE(Has(dec.err, "decrypted encrypted/a.jpgE -> encrypted/decrypted" +
                                 std::string(1, kPathSeparator) + "a.jpg\n"));
}

}  // namespace
}  // namespace imgcrypt
