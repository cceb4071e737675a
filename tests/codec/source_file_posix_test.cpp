// Sources that change while they are read. POSIX locks are advisory: another
// program may still grow or cut a file we read, and we must notice.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/container_stream.h"
#include "runtime/errors.h"
#include "runtime/generator.h"
#include "runtime/line_text_file.h"
#include "runtime/whole_file.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

using test::ReadBytes;
using test::TempFolder;

constexpr std::uint32_t kState = 0x1234567u;
constexpr std::string_view kPassword = "Tiger#42";

class ChangingSource : public ::testing::Test {
  protected:
    TempFolder folder_;
    std::string path_ = folder_ / "photo.jpg";
};

TEST_F(ChangingSource, SourceReaderReadsPiecesAndIgnoresGrowth) {
    const std::string bytes = test::RandomBytes(1000, 29);
    test::WriteBytes(path_, bytes);
    FileReader reader(path_);
    ASSERT_EQ(reader.size(), 1000u);
    std::filesystem::resize_file(path_, 1500);  // grows after the size was taken
    std::string got(1000, '\0');
    reader.Read(got.data(), 300);
    reader.Read(got.data() + 300, 700);
    EXPECT_EQ(got, bytes);
    reader.Read(got.data(), 0);
}

TEST_F(ChangingSource, SourceReaderRefusesShrunkFiles) {
    test::WriteBytes(path_, std::string(1000, 'x'));
    FileReader reader(path_);
    std::filesystem::resize_file(path_, 400);
    std::string got(1000, '\0');
    reader.Read(got.data(), 300);
    EXPECT_THROW(reader.Read(got.data() + 300, 700), EFOpenError);
}

TEST_F(ChangingSource, SourceShrinkingMidwayLeavesNoOutputAndNoDraws) {
    test::WriteBytes(path_, test::RandomBytes(57 * kStreamChunkLines * 3, 31));
    const std::string outPath = folder_.Write("encrypted/photo.jpg", "older container");

    SetGeneratorState(kState);
    FileReader reader(path_);
    bool cut = false;
    LineTextFile file;
    const auto run = [&] {
        StreamContainerFile(
            reader.size(),
            [&](char* dst, std::size_t n) {
                reader.Read(dst, n);
                if (!cut) std::filesystem::resize_file(path_, 57 * kStreamChunkLines);
                cut = true;
            },
            kPassword, EncryptionClass::High,
            [&](std::string_view piece) {
                if (file.mode() == LineTextFile::Mode::Closed) {
                    file = CreateTextForReplacing(outPath);
                }
                PutText(file, piece);
            });
    };
    EXPECT_THROW(run(), EFOpenError);
    file = LineTextFile();  // dropped unclosed, as an exception leaves it
    EXPECT_EQ(ReadBytes(outPath), "older container");
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>({"encrypted", "photo.jpg"}));
    EXPECT_EQ(test::Entries(folder_ / "encrypted"), std::vector<std::string>({"photo.jpg"}));
    EXPECT_EQ(GeneratorState(), kState) << "a file not encrypted keeps no draws";
}

}  // namespace
}  // namespace imgcrypt
