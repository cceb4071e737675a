#include "codec/container_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "codec/file_operations.h"
#include "runtime/errors.h"
#include "runtime/generator.h"
#include "runtime/line_text_file.h"
#include "runtime/whole_file.h"
#include "tests/support/container_bytes.h"
#include "tests/support/container_oracle.h"
#include "tests/support/platform_files.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

constexpr EncryptionClass kBothClasses[] = {EncryptionClass::Standard, EncryptionClass::High};
// Source bytes per chunk of the writer.
constexpr std::size_t kChunk = 57 * kStreamChunkLines;
constexpr std::uint32_t kState = 0x1234567u;
constexpr std::string_view kPassword = "Tiger#42";

std::string RandomBytes(std::size_t n, std::mt19937& gen) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(gen() & 0xFF);
    return s;
}

// Bytes whose base64 is dense in '/' runs and lone '/' followed by '0'..'3'
// (the followers that lowering turns into '/', '.', '-', ',').
std::string SlashHeavyBytes(std::size_t n, std::mt19937& gen) {
    const unsigned char pool[] = {0xFF, 0xFC, 0x3F, 0xD0, 0xD4, 0xD8, 0xDC, 0xF3, 0x4D, 0x0F};
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(pool[gen() % sizeof pool]);
    return s;
}

struct Streamed {
    std::string file;
    std::uint32_t stateAfter;
    std::size_t pieces = 0;
};

Streamed StreamFromMemory(std::string_view source, EncryptionClass cls) {
    SetGeneratorState(kState);
    Streamed result;
    std::size_t readAt = 0;
    StreamContainerFile(
        source.size(),
        [&](char* dst, std::size_t n) {
            ASSERT_LE(readAt + n, source.size());
            std::memcpy(dst, source.data() + readAt, n);
            readAt += n;
        },
        kPassword, cls,
        [&](std::string_view piece) {
            result.file += piece;
            ++result.pieces;
        });
    EXPECT_EQ(readAt, source.size()) << "every byte read, once";
    result.stateAfter = GeneratorState();
    return result;
}

// Streamed file and draws equal the step-by-step reference from the same state.
void ExpectSameAsReference(std::string_view source, EncryptionClass cls) {
    SetGeneratorState(kState);
    const std::string expected = test::ReferenceContainerFile(source, kPassword, cls);
    const std::uint32_t expectedState = GeneratorState();
    const Streamed got = StreamFromMemory(source, cls);
    ASSERT_EQ(got.file, expected) << "size " << source.size() << ", class "
                                  << static_cast<int>(cls);
    ASSERT_EQ(got.stateAfter, expectedState);
}

TEST(StreamContainerFile, EverySmallSizeMatchesTheReference) {
    std::mt19937 gen(7);
    for (std::size_t size = 0; size <= 400; ++size) {
        const std::string random = RandomBytes(size, gen);
        const std::string slashy = SlashHeavyBytes(size, gen);
        for (const EncryptionClass cls : kBothClasses) {
            ExpectSameAsReference(random, cls);
            ExpectSameAsReference(slashy, cls);
        }
    }
}

TEST(StreamContainerFile, SizesAroundChunkBoundariesMatchTheReference) {
    std::mt19937 gen(11);
    for (std::size_t m = 1; m <= 2; ++m) {
        for (std::size_t size = kChunk * m - 3; size <= kChunk * m + 3; ++size) {
            const std::string slashy = SlashHeavyBytes(size, gen);
            for (const EncryptionClass cls : kBothClasses) ExpectSameAsReference(slashy, cls);
        }
    }
}

TEST(StreamContainerFile, SlashesMeetingAtChunkEdges) {
    // The chunk's text ends with the low six bits of its last byte and the
    // next chunk's begins with the top six bits of its first. A lone '/' on
    // the edge lowers a follower in the next chunk, which may become '/' and
    // must then not count as a slash; a '/' pair across the edge stays.
    const unsigned char lastBytes[] = {0x3F, 0xFF, 0x00, 0x7F};
    const unsigned char nextBytes[] = {0xD0, 0xD3, 0xD4, 0xD8, 0xDC, 0xFC, 0xFF, 0x04, 0x00};
    std::mt19937 gen(13);
    std::string source = RandomBytes(kChunk + 57 * 3 + 5, gen);
    for (const unsigned char last : lastBytes) {
        for (const unsigned char next : nextBytes) {
            for (const bool slashAfter : {false, true}) {  // 0xD3 0xFF: "0/" opens the chunk
                source[kChunk - 1] = static_cast<char>(last);
                source[kChunk] = static_cast<char>(next);
                source[kChunk + 1] = static_cast<char>(slashAfter ? 0xFF : 0x00);
                ExpectSameAsReference(source, EncryptionClass::High);
            }
        }
    }
    ExpectSameAsReference(source, EncryptionClass::Standard);
}

TEST(StreamContainerFile, LargeSourceStaysInSmallPieces) {
    std::mt19937 gen(17);
    const std::string source = SlashHeavyBytes(57 * kStreamChunkLines * 5 + 1234, gen);
    for (const EncryptionClass cls : kBothClasses) {
        ExpectSameAsReference(source, cls);
        EXPECT_EQ(StreamFromMemory(source, cls).pieces, 7u)
            << "six chunks and the trailer, each one piece";
    }
}

class StreamFiles : public ::testing::Test {
  protected:
    TempFolder folder_;
};

TEST_F(StreamFiles, SourceReaderRefusesMissingFilesAndFolders) {
    EXPECT_THROW(FileReader(folder_ / "missing.jpg"), EFOpenError);
    EXPECT_THROW(FileReader(folder_.path()), EFOpenError);
}

// While a container is written, its final name shows the older container
// (or nothing), and the part written so far is closed to every reader.
TEST_F(StreamFiles, AContainerBeingWrittenIsNeverVisibleHalfWritten) {
    std::mt19937 gen(41);
    const std::string source = RandomBytes(kChunk * 3, gen);
    test::MakeFolders(folder_ / "encrypted");
    const std::string outPath = folder_ / "encrypted/photo.jpg";
    for (const bool older : {true, false}) {
        if (older) WriteBytes(outPath, "older container");
        SetGeneratorState(kState);
        LineTextFile file;
        std::size_t pieces = 0;
        std::size_t readAt = 0;
        StreamContainerFile(
            source.size(),
            [&](char* dst, std::size_t n) {
                std::memcpy(dst, source.data() + readAt, n);
                readAt += n;
            },
            kPassword, EncryptionClass::Standard,
            [&](std::string_view piece) {
                if (file.mode() == LineTextFile::Mode::Closed) {
                    file = CreateTextForReplacing(outPath);
                }
                PutText(file, piece);
                if (++pieces < 3) return;
                // Between pieces: the partial file is on disk beside the final name.
                EXPECT_EQ(test::Exists(outPath), older);
                if (older) {
                    EXPECT_EQ(ReadBytes(outPath), "older container");
                }
                for (const std::string& name : test::Entries(folder_ / "encrypted")) {
                    if (name == "photo.jpg") continue;
                    EXPECT_THROW(FileReader(folder_ / ("encrypted/" + name)), EFOpenError)
                        << name;
                }
            });
        CloseText(file);
        EXPECT_GT(pieces, 3u);
        EXPECT_EQ(test::Entries(folder_ / "encrypted"), std::vector<std::string>({"photo.jpg"}));
        EXPECT_NE(ReadBytes(outPath), "older container");
        std::filesystem::remove(test::FsPath(outPath));
    }
}

// A source that another program is writing is not read at all.
TEST_F(StreamFiles, ASourceBeingWrittenElsewhereIsNotEncrypted) {
    const std::string path = folder_.Write("photo.jpg", std::string(500, 'q'));
    const std::string outPath = folder_.Write("encrypted/photo.jpg", "older container");
    EncryptionInputs inputs;
    inputs.password = std::string(kPassword);
    inputs.dirEncrypted = "encrypted";
    SetGeneratorState(kState);
    {
        const test::FileHeldOpenForWriting writer(path);
        EXPECT_THROW(encryption(path, inputs), EFOpenError);
    }
    EXPECT_EQ(GeneratorState(), kState);
    EXPECT_EQ(ReadBytes(outPath), "older container");
    EXPECT_EQ(test::Entries(folder_ / "encrypted"), std::vector<std::string>({"photo.jpg"}));
}

TEST_F(StreamFiles, EncryptionWritesTheWholeBuildsBytes) {
    std::mt19937 gen(37);
    test::MakeFolders(folder_ / "encrypted");
    for (const std::size_t size : {0u, 12u, 14u, 15u, 57u * 2048 + 1, 1500000u}) {
        const std::string source = SlashHeavyBytes(size, gen);
        const std::string path = folder_ / "photo.jpg";
        WriteBytes(path, source);
        for (const EncryptionClass cls : kBothClasses) {
            SetGeneratorState(kState);
            const std::string expected = test::ReferenceContainerFile(source, kPassword, cls);
            const std::uint32_t expectedState = GeneratorState();
            SetGeneratorState(kState);
            EncryptionInputs inputs;
            inputs.password = std::string(kPassword);
            inputs.cls = cls;
            inputs.dirEncrypted = "encrypted";
            inputs.nameSuffix = "E";
            const std::string out = encryption(path, inputs);
            EXPECT_EQ(out, folder_ / "encrypted/photo.jpgE");
            ASSERT_EQ(ReadBytes(out), expected) << "size " << size;
            EXPECT_EQ(GeneratorState(), expectedState);
        }
    }
    EXPECT_EQ(test::Entries(folder_ / "encrypted"), std::vector<std::string>({"photo.jpgE"}))
        << "no temporary file left";
}

TEST_F(StreamFiles, EncryptionErrorsKeepTheirTypesAndDraws) {
    EncryptionInputs inputs;
    inputs.password = std::string(kPassword);
    inputs.dirEncrypted = "encrypted";
    SetGeneratorState(kState);
    EXPECT_THROW(encryption(folder_ / "missing.jpg", inputs), EFOpenError);
    EXPECT_EQ(GeneratorState(), kState);

    // No output folder: the container cannot be created, after the draws,
    // as when it was built whole before writing.
    const std::string path = folder_ / "photo.jpg";
    WriteBytes(path, std::string(500, 'q'));
    SetGeneratorState(kState);
    test::MakeContainerFile(std::string(500, 'q'), kPassword, inputs.cls);
    const std::uint32_t afterDraws = GeneratorState();
    SetGeneratorState(kState);
    EXPECT_THROW(encryption(path, inputs), EInOutError);
    EXPECT_EQ(GeneratorState(), afterDraws);
}

}  // namespace
}  // namespace imgcrypt
