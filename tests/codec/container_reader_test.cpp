// The streamed readers against the rules stated plainly (container_oracle.h,
// line_oracle.h): the same bytes and the same answers for containers and for
// anything else, wherever line breaks, NULs and bytes 26 stand relative to
// the ends read first and the pieces read after.
#include "codec/container_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "codec/password.h"
#include "runtime/generator.h"
#include "tests/support/container_bytes.h"
#include "tests/support/container_oracle.h"
#include "tests/support/line_oracle.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

using test::DecodeContainerBytes;
using test::MakeContainerFile;
using test::ProbeContainerBytes;
using test::ReferenceDecodeContainerFile;

// Where the reader's reads begin and end: the ends it reads first, and the
// size up to which it reads a file whole.
constexpr std::size_t kEdge = 4096;
constexpr std::size_t kPiece = 256 * 1024;

void ExpectReadAsTheRulesSay(const std::string& bytes, const std::string& typed) {
    ASSERT_EQ(DecodeContainerBytes(bytes), ReferenceDecodeContainerFile(bytes));
    const std::string text = test::JoinedLoadedLines(bytes);
    const ProbeResult probe = ProbeContainerBytes(bytes, typed);
    EXPECT_EQ(probe.isContainer, Recognise(text).isContainer);
    EXPECT_EQ(probe.highLevel, Recognise(text).highLevel);
    EXPECT_EQ(probe.passwordMatch, PasswordMatches(text, typed));
}

// Small texts over the bytes that matter to the readers.
TEST(ContainerReader, ShortOddTextsFollowTheRules) {
    std::mt19937 gen(3);
    using namespace std::string_literals;
    const std::string pool = "\r\n\0\x1a*@\\/ABab01+="s;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(gen() % 120, '\0');
        for (char& c : bytes) c = pool[gen() % pool.size()];
        if (round % 4 == 0) bytes += "****";
        if (round % 4 == 1) bytes += "@@@@\r\n";
        SCOPED_TRACE(round);
        ExpectReadAsTheRulesSay(bytes, "ABab0");
    }
}

// Real containers of every class with odd bytes dropped in at the places
// where the reader's reads meet: around the ends read first, around the
// pieces, and at the very start and end.
TEST(ContainerReader, ContainersWithOddBytesAtTheSeamsFollowTheRules) {
    SetGeneratorState(0);
    std::mt19937 gen(5);
    const char odd[] = {'\r', '\n', '\0', '\x1a', '\\', '='};
    for (const EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        for (const std::size_t sourceSize : {std::size_t{2000}, kPiece / 2, 2 * kPiece + 77}) {
            const std::string source = test::RandomBytes(sourceSize, sourceSize);
            const std::string file = MakeContainerFile(source, "Secret1", cls);
            ASSERT_EQ(DecodeContainerBytes(file), source);
            const std::size_t n = file.size();
            for (const std::size_t at :
                 {std::size_t{0}, std::size_t{19}, std::size_t{21}, kEdge - 1, kEdge, kEdge + 1,
                  kPiece - 1, kPiece, kPiece + 21, n / 2, n - kEdge - 1, n - kEdge, n - 29,
                  n - 28, n - 10, n - 3, n}) {
                if (at > n) continue;
                for (const char c : odd) {
                    std::string bytes = file;
                    bytes.insert(at, 1, c);
                    SCOPED_TRACE(testing::Message() << "size " << sourceSize << " at " << at
                                                    << " byte " << static_cast<int>(c));
                    ExpectReadAsTheRulesSay(bytes, "Secret1");
                }
            }
            // Line breaks everywhere change nothing.
            std::string broken;
            for (std::size_t i = 0; i < n; ++i) {
                broken += file[i];
                if (gen() % 50 == 0) broken += gen() % 2 ? "\r" : "\n";
            }
            EXPECT_EQ(DecodeContainerBytes(broken), source);
        }
    }
}

// Ends that are nearly all line breaks push the block and the trailer out
// of the bytes read first.
TEST(ContainerReader, EndsFullOfLineBreaksFollowTheRules) {
    SetGeneratorState(0);
    const std::string source = test::RandomBytes(kPiece, 9);
    for (const EncryptionClass cls : {EncryptionClass::Standard, EncryptionClass::High}) {
        const std::string file = MakeContainerFile(source, "Secret1", cls);
        const std::string breaks(kEdge + 100, '\n');
        const std::string spread =
            file.substr(0, 10) + breaks + file.substr(10, file.size() - 30) + breaks +
            file.substr(file.size() - 20);
        ExpectReadAsTheRulesSay(spread, "Secret1");
        EXPECT_EQ(DecodeContainerBytes(spread), source);
        ExpectReadAsTheRulesSay(breaks + "x" + breaks, "Secret1");
    }
}

// The first look at a large file is only a guess when the middle is unread;
// the decoding confirms it or declines before anything stays in the output.
TEST(ContainerReader, AGuessedProbeIsCheckedByTheDecoding) {
    SetGeneratorState(0);
    const std::string file =
        MakeContainerFile(test::RandomBytes(kPiece, 11), "Secret1", EncryptionClass::High);
    {
        ContainerReader reader(test::MemorySource(file));
        EXPECT_TRUE(reader.Probe("Secret1").passwordMatch);
        EXPECT_FALSE(reader.ProbeIsFinal());
        test::StringOutput out;
        EXPECT_TRUE(reader.Decode(out));
        EXPECT_EQ(out.text, ReferenceDecodeContainerFile(file));
    }
    const std::string withNul = file.substr(0, file.size() / 2) + '\0' + file.substr(file.size() / 2);
    ContainerReader reader(test::MemorySource(withNul));
    EXPECT_TRUE(reader.Probe("Secret1").isContainer);  // the guess
    test::StringOutput out;
    EXPECT_FALSE(reader.Decode(out));
    EXPECT_EQ(out.text, "");
    EXPECT_FALSE(reader.FinalProbe("Secret1").isContainer);
    EXPECT_TRUE(reader.ProbeIsFinal());
    EXPECT_TRUE(reader.Decode(out));
    EXPECT_EQ(out.text, ReferenceDecodeContainerFile(withNul));
}

}  // namespace
}  // namespace imgcrypt
