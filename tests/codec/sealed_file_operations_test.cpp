// Sealed files on disk: names and folders as for the other classes, and no
// output at all for a file that is refused, damaged or cancelled.
#include "codec/sealed_file_operations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codec/file_operations.h"
#include "codec/sealed_errors.h"
#include "runtime/errors.h"
#include "tests/support/sealed_files.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

using test::ReadBytes;
using test::TempFolder;

constexpr std::string_view kPassword = "Tiger#42";

class SealedFiles : public ::testing::Test {
  protected:
    TempFolder dir_;
    SealingKey key_{kPassword, test::kQuickCost};
    OpeningKeys keys_{kPassword};

    std::string Seal(const std::string& source, std::string_view suffix = "") {
        test::MakeFolders(dir_ / "encrypted");
        return SealFile(source, key_, "encrypted", suffix);
    }
    std::string Open(const std::string& container, const SealedProgressFn& progress = {}) {
        test::MakeFolders(dir_ / "encrypted/decrypted");
        return OpenSealedFile(container, keys_, true, "decrypted", progress);
    }
    std::vector<std::string> DecryptedFolder() const {
        return test::Entries(dir_ / "encrypted/decrypted");
    }
};

TEST_F(SealedFiles, RoundTripUnderTheUsualNamesAndKnownByTheFirstLine) {
    const std::string source = dir_.Write("照片.JPG", test::RandomBytes(200000, 1));
    const std::string container = Seal(source, "E");
    EXPECT_EQ(container, dir_ / "encrypted/照片.JPGE");
    EXPECT_TRUE(IsSealedFile(container));
    EXPECT_FALSE(IsSealedFile(source));
    EXPECT_EQ(Open(container), dir_ / "encrypted/decrypted/照片.JPG");
    EXPECT_EQ(ReadBytes(dir_ / "encrypted/decrypted/照片.JPG"), ReadBytes(source));

    // The class item of the window reaches the same writer.
    EncryptionInputs inputs;
    inputs.cls = EncryptionClass::Sealed;
    inputs.sealingKey = &key_;
    inputs.dirEncrypted = "encrypted";
    const std::string viaEncryption = encryption(dir_.Write("a.png", "x"), inputs);
    EXPECT_TRUE(IsSealedFile(viaEncryption));
    inputs.cls = EncryptionClass::Standard;
    const std::string old = encryption(dir_.Write("b.png", "x"), inputs);
    EXPECT_FALSE(IsSealedFile(old));
}

TEST_F(SealedFiles, ARefusedFileLeavesNoOutputAndAnExistingOneUntouched) {
    const std::string container = Seal(dir_.Write("a.jpg", test::RandomBytes(150000, 2)));
    const std::string output = dir_.Write("encrypted/decrypted/a.jpg", "older file");

    OpeningKeys wrong("Tiger#43");
    EXPECT_THROW(OpenSealedFile(container, wrong, true, "decrypted"), EWrongPassword);

    std::string damaged = ReadBytes(container);
    damaged[damaged.size() - 200] ^= 0x01;  // inside the last chunk, past two good ones
    const std::string bad = dir_.Write("encrypted/a.jpg", damaged);
    EXPECT_THROW(Open(bad), EDamagedContainer);

    EXPECT_EQ(ReadBytes(output), "older file");
    EXPECT_EQ(DecryptedFolder(), std::vector<std::string>{"a.jpg"});  // no temporary file
}

TEST_F(SealedFiles, CancelInsideAFileLeavesNoOutputInEitherDirection) {
    const std::string source = dir_.Write("big.jpg", test::RandomBytes(5 * 65536, 3));
    const std::string container = Seal(source);
    const auto stopHalfway = [](std::uint64_t done, std::uint64_t total) {
        return done < total / 2;
    };

    test::MakeFolders(dir_ / "again");
    EXPECT_THROW(SealFile(source, key_, "again", "", stopHalfway), ECancelled);
    EXPECT_TRUE(test::Entries(dir_ / "again").empty());

    const std::string output = dir_.Write("encrypted/decrypted/big.jpg", "older file");
    EXPECT_THROW(Open(container, stopHalfway), ECancelled);
    EXPECT_EQ(ReadBytes(output), "older file");
    EXPECT_EQ(DecryptedFolder(), std::vector<std::string>{"big.jpg"});
}

TEST_F(SealedFiles, ProbeReadsOnlyTheStart) {
    std::string file = ReadBytes(Seal(dir_.Write("a.jpg", test::RandomBytes(100000, 4))));
    file.resize(file.size() / 2);  // the rest is gone: a probe does not look there
    const std::string cut = dir_.Write("cut.jpg", file);
    EXPECT_EQ(ProbeSealedFile(cut, nullptr).cost.m, test::kQuickCost.m);
    EXPECT_NO_THROW(ProbeSealedFile(cut, &keys_));
    OpeningKeys wrong("Tiger#43");
    EXPECT_THROW(ProbeSealedFile(cut, &wrong), EWrongPassword);
    EXPECT_THROW(
        ProbeSealedFile(dir_.Write("short", "IMGCRYPT-SEALED-1\r\nAQEB\r\n####\r\n"), nullptr),
        EDamagedContainer);
}

// Sizes are 64-bit all the way: a sparse source above 4 GiB is seen whole
// (only its first chunk is sealed before the cancel).
TEST_F(SealedFiles, SourcesAboveFourGibibytesKeepTheirSize) {
    const std::string source = dir_.Write("huge.mov", "");
    const std::uint64_t size = (std::uint64_t{1} << 32) + 70000;
    std::error_code error;
    std::filesystem::resize_file(test::FsPath(source), size, error);
    if (error) GTEST_SKIP() << "no sparse file here: " << error.message();
    std::uint64_t seenTotal = 0;
    test::MakeFolders(dir_ / "encrypted");
    EXPECT_THROW(SealFile(source, key_, "encrypted", "",
                          [&](std::uint64_t, std::uint64_t total) {
                              seenTotal = total;
                              return false;
                          }),
                 ECancelled);
    EXPECT_EQ(seenTotal, size);
    EXPECT_TRUE(test::Entries(dir_ / "encrypted").empty());
}

}  // namespace
}  // namespace imgcrypt
