// The sealed container in memory: known answers made outside the project,
// round trips across the chunk boundaries, and every way a container can be
// refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/container.h"
#include "codec/sealed_errors.h"
#include "codec/sealed_format.h"
#include "codec/sealed_keys.h"
#include "codec/sealed_writer.h"
#include "tests/support/hex.h"
#include "tests/support/line_oracle.h"
#include "tests/support/sealed_files.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt {
namespace {

using test::kQuickCost;
using test::OpenSealedText;
using test::SealedPayload;
using test::SealedText;

constexpr std::string_view kPassword = "Se@led99";

SealedSalt CountingSalt() {
    SealedSalt salt{};
    for (std::size_t i = 0; i < salt.size(); ++i) salt[i] = static_cast<std::uint8_t>(i);
    return salt;
}

FileNonce CountingNonce() {
    FileNonce nonce{};
    for (std::size_t i = 0; i < nonce.size(); ++i) nonce[i] = static_cast<std::uint8_t>(16 + i);
    return nonce;
}

// One derivation at the default cost for both known answers.
const SealingKey& KnownAnswerKey() {
    static const SealingKey key(kPassword, CountingSalt(), kSealedDefaultCost);
    return key;
}

TEST(SealedKnownAnswers, SmallContainerIsByteExact) {
    const std::string file = MakeSealedFile("imgcrypt", KnownAnswerKey(), CountingNonce());
    EXPECT_EQ(file,
              "IMGCRYPT-SEALED-1\r\n"
              "AQEBEAAAAAMAAQAAAAAAAQABAgMEBQYHCAkKCwwNDg8QERITFBUWFxgZGhscHR4fnW7ll9wXHKwj\r\n"
              "nUcTewr8eTIbWLZpZHyB7HvMnr91mX+jsQ1SZ2w7Wg==\r\n"
              "####\r\n");
    OpeningKeys keys(kPassword);
    EXPECT_EQ(OpenSealedText(file, keys), "imgcrypt");
}

TEST(SealedKnownAnswers, TwoChunkContainerHasTheKnownDigest) {
    const std::string source(70000, 'a');
    const std::string file = MakeSealedFile(source, KnownAnswerKey(), CountingNonce());
    EXPECT_EQ(file.size(), 95949u);
    std::array<std::uint8_t, crypto::kSha256Size> digest{};
    crypto::Sha256(test::AsBytes(file), digest);
    EXPECT_EQ(test::ToHex(digest),
              "86d813b791bc16ccffe8f842375f82261fd31984c8282a94d97fe4e3ff965fac");
    OpeningKeys keys(kPassword);
    EXPECT_EQ(OpenSealedText(file, keys), source);
}

class SealedQuick : public ::testing::Test {
  protected:
    SealingKey key_{kPassword, kQuickCost};
    OpeningKeys keys_{kPassword};

    std::string Seal(std::string_view source) {
        return MakeSealedFile(source, key_, DrawFileNonce());
    }
    std::string Open(std::string_view file) { return OpenSealedText(file, keys_); }
};

TEST_F(SealedQuick, EverySizeAroundTheBoundariesComesBackFedInAnyPieces) {
    for (std::size_t size : {0, 1, 56, 57, 58, 65535, 65536, 65537, 131072, 140000}) {
        SCOPED_TRACE(size);
        const std::string source = test::RandomBytes(size, static_cast<unsigned>(size));
        const std::string file = Seal(source);
        for (std::size_t piece : {std::size_t{1}, std::size_t{77}, std::size_t{78},
                                  std::size_t{4096}, std::string_view::npos}) {
            if (piece == 1 && size > 1000) continue;
            EXPECT_EQ(OpenSealedText(file, keys_, piece), source) << piece;
        }
        // Pieces: one per 64 KiB, an empty source one empty piece.
        const std::size_t pieces = size == 0 ? 1 : (size + 65535) / 65536;
        EXPECT_EQ(SealedPayload(file).size(), 64 + size + 16 * pieces);
        EXPECT_EQ(file.size(), SealedContainerSize(size));
        // The old readers see no container in it.
        EXPECT_FALSE(Recognise(test::JoinedReadLines(file)).isContainer);
    }
}

TEST_F(SealedQuick, EveryFileHasItsOwnNonceAndKeys) {
    const std::string a = Seal("same bytes");
    const std::string b = Seal("same bytes");
    EXPECT_NE(a, b);
    EXPECT_EQ(SealedPayload(a).substr(0, 32), SealedPayload(b).substr(0, 32));  // one run's salt
    EXPECT_EQ(Open(a), Open(b));
}

TEST_F(SealedQuick, AnotherPasswordOrAChangedHeaderIsAnIllegalPassword) {
    const std::string file = Seal("secret picture");
    OpeningKeys other("Se@led98");
    EXPECT_THROW(OpenSealedText(file, other), EWrongPassword);
    EXPECT_STREQ(EWrongPassword().what(), "Illegal password");

    std::string payload = SealedPayload(file);
    payload[40] ^= 0x01;  // the file nonce
    EXPECT_THROW(Open(SealedText(payload)), EWrongPassword);
    payload = SealedPayload(file);
    payload[60] ^= 0x01;  // the header's tag
    EXPECT_THROW(Open(SealedText(payload)), EWrongPassword);
}

TEST_F(SealedQuick, ChangedMissingReorderedOrAddedChunksAreDamage) {
    const std::string payload = SealedPayload(Seal(test::RandomBytes(140000, 3)));
    const std::size_t record = kSealedRecordSize;
    const std::string head = payload.substr(0, 64);
    const std::string first = payload.substr(64, record);
    const std::string second = payload.substr(64 + record, record);
    const std::string last = payload.substr(64 + 2 * record);

    std::string flipped = payload;
    flipped[64 + record + 100] ^= 0x20;
    std::string badTag = payload;
    badTag.back() ^= 0x01;

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a changed chunk", flipped},
        {"a changed last tag", badTag},
        {"the last chunk dropped", head + first + second},
        {"cut inside the last chunk", payload.substr(0, payload.size() - 5)},
        {"cut inside a tag", head + first + second + last.substr(0, 10)},
        {"two chunks swapped", head + second + first + last},
        {"a chunk repeated", head + first + first + second + last},
        {"the last chunk added again", payload + last},
        {"one byte added", payload + "x"},
        {"no chunk at all", head},
        {"cut inside the header", payload.substr(0, 30)},
    };
    for (const auto& [name, changed] : cases) {
        EXPECT_THROW(Open(SealedText(changed)), EDamagedContainer) << name;
    }
}

TEST_F(SealedQuick, TextNotExactlyAsWrittenIsDamage) {
    const std::string source = test::RandomBytes(1000, 4);  // 1080 payload bytes: no padding
    const std::string file = Seal(source);
    ASSERT_EQ(Open(file), source);
    // 1081 payload bytes: 19 full lines, the last one ending in "==".
    const std::string padded = Seal(test::RandomBytes(1001, 5));
    ASSERT_NE(padded.find("==\r\n####"), std::string::npos);
    ASSERT_EQ(Open(padded), test::RandomBytes(1001, 5));

    const auto replace = [](std::string text, std::string_view from, std::string_view to) {
        const std::size_t at = text.find(from);
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    std::string lfOnly;
    for (char c : file) {
        if (c != '\r') lfOnly += c;
    }
    std::string badChar = file;
    badChar[19 + 78 * 3 + 10] = '-';
    std::string extraBits = padded;
    const std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    char& lastLetter = extraBits[extraBits.find("==\r\n####") - 1];
    lastLetter = alphabet[alphabet.find(lastLetter) | 1];  // a bit the padding leaves over

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"lines of 72", SealedText(SealedPayload(file), 72)},
        {"lines of 80", SealedText(SealedPayload(file), 80)},
        {"LF line ends", lfOnly},
        {"a character outside the alphabet", badChar},
        {"a blank at a line's end", file.substr(0, 19) + replace(file.substr(19), "\r\n", " \r\n")},
        {"a blank after the first line", replace(file, "\r\n", " \r\n")},
        {"an empty line", replace(file, "\r\n####", "\r\n\r\n####")},
        {"no last line", file.substr(0, file.size() - 6)},
        {"no CR LF after the last line", file.substr(0, file.size() - 2)},
        {"bytes after the last line", file + "\r\n"},
        {"a second last line", file + "####\r\n"},
        {"padding bits set", extraBits},
        {"padding inside", replace(padded, "==\r\n", "=A\r\n")},
        {"lower-case first line", replace(file, "IMGCRYPT-SEALED-1", "imgcrypt-sealed-1")},
        {"nothing but the lines", std::string(kSealedFirstLine) + "\r\n####\r\n"},
        {"empty", ""},
    };
    for (const auto& [name, changed] : cases) {
        EXPECT_THROW(Open(changed), EDamagedContainer) << name;
    }
}

TEST_F(SealedQuick, LaterVersionsAndCostsBeyondTheLimitsNameWhatIsUnsupported) {
    const std::string file = Seal("picture");
    const std::string payload = SealedPayload(file);
    const auto detailOf = [&](const std::string& changed) -> std::string {
        try {
            Open(changed);
        } catch (const EUnsupportedContainer& e) {
            return e.detail();
        }
        return "(accepted)";
    };
    const auto withByte = [&](std::size_t at, std::uint8_t value) {
        std::string changed = payload;
        changed[at] = static_cast<char>(value);
        return SealedText(changed);
    };
    const auto withCost = [&](crypto::Argon2Cost cost) {
        SealedHeader header;
        header.cost = cost;
        const SealedHeaderBytes bytes = EncodeSealedHeader(header);
        std::string changed = payload;
        changed.replace(0, 16, reinterpret_cast<const char*>(bytes.data()), 16);
        return SealedText(changed);
    };
    std::string nextLine = file;
    nextLine[16] = '2';
    EXPECT_EQ(detailOf(nextLine), "format version 2");
    EXPECT_EQ(detailOf(withByte(0, 2)), "format version 2");
    EXPECT_EQ(detailOf(withByte(1, 2)), "key derivation 2");
    EXPECT_EQ(detailOf(withByte(2, 2)), "cipher 2");
    EXPECT_EQ(detailOf(withByte(3, 0x11)), "chunk size 2^17");
    EXPECT_EQ(detailOf(withCost({0, 8, 1})), "t = 0");
    EXPECT_EQ(detailOf(withCost({11, 8, 1})), "t = 11");
    EXPECT_EQ(detailOf(withCost({1, 262145, 1})), "m = 262145 KiB");
    EXPECT_EQ(detailOf(withCost({1, 15, 2})), "m = 15 KiB");
    EXPECT_EQ(detailOf(withCost({1, 8, 0})), "p = 0");
    EXPECT_EQ(detailOf(withCost({1, 72, 9})), "p = 9");

    // The edges themselves are read.
    for (crypto::Argon2Cost cost :
         {crypto::Argon2Cost{10, 262144, 8}, crypto::Argon2Cost{1, 64, 8}}) {
        SealedHeader header;
        header.cost = cost;
        const SealedHeader parsed = ParseSealedHeader(EncodeSealedHeader(header), "x");
        EXPECT_EQ(parsed.cost.t, cost.t);
        EXPECT_EQ(parsed.cost.m, cost.m);
        EXPECT_EQ(parsed.cost.p, cost.p);
    }
}

TEST(SealedKeys, ARunDerivesOncePerSaltAndCost) {
    const SealingKey runA("Tiger#42", kQuickCost);
    const SealingKey runB("Tiger#42", kQuickCost);
    ASSERT_NE(runA.salt(), runB.salt());
    OpeningKeys keys("Tiger#42");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(OpenSealedText(MakeSealedFile("a", runA, DrawFileNonce()), keys), "a");
    }
    EXPECT_EQ(keys.derivations(), 1u);
    SealedHeader header{kQuickCost, runA.salt(), {}};
    EXPECT_TRUE(keys.HasKeyFor(header));
    header.salt = runB.salt();
    EXPECT_FALSE(keys.HasKeyFor(header));
    EXPECT_EQ(OpenSealedText(MakeSealedFile("b", runB, DrawFileNonce()), keys), "b");
    EXPECT_EQ(keys.derivations(), 2u);
    const SealingKey costlier("Tiger#42", runA.salt(), {2, 8, 1});
    EXPECT_EQ(OpenSealedText(MakeSealedFile("c", costlier, DrawFileNonce()), keys), "c");
    EXPECT_EQ(keys.derivations(), 3u);
}

TEST(SealedFormat, ChunkNoncesHoldSixtyFourBitIndexes) {
    EXPECT_EQ(test::ToHex(SealedChunkNonce(0, false)), "000000000000000000000000");
    EXPECT_EQ(test::ToHex(SealedChunkNonce(1, true)), "000000000000000000000101");
    EXPECT_EQ(test::ToHex(SealedChunkNonce(0x0102030405060708ull, false)),
              "000000010203040506070800");
}

TEST(SealedWriter, ProgressReachesEveryChunkAndCanStop) {
    const SealingKey key("Tiger#42", kQuickCost);
    const std::string source = test::RandomBytes(3 * 65536 + 5, 6);
    std::vector<std::uint64_t> seen;
    std::string out;
    std::size_t at = 0;
    const auto read = [&](char* dst, std::size_t n) {
        std::copy_n(source.data() + at, n, dst);
        at += n;
    };
    StreamSealedFile(
        source.size(), read, key, DrawFileNonce(), [&](std::string_view p) { out.append(p); },
        [&](std::uint64_t done, std::uint64_t total) {
            EXPECT_EQ(total, source.size());
            seen.push_back(done);
            return true;
        });
    EXPECT_EQ(seen, (std::vector<std::uint64_t>{65536, 131072, 196608, source.size()}));

    at = 0;
    EXPECT_THROW(StreamSealedFile(
                     source.size(), read, key, DrawFileNonce(), [](std::string_view) {},
                     [](std::uint64_t done, std::uint64_t) { return done < 131072; }),
                 ECancelled);
}

}  // namespace
}  // namespace imgcrypt
