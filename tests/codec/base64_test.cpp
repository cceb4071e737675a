#include "codec/base64.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "codec/base64_kernels.h"
#include "tests/support/base64_text.h"

namespace imgcrypt {
namespace {

using detail::Base64Kernels;
using test::DecodeBase64Text;
using test::EncodeBase64Text;
using test::ReferenceDecodeBase64;

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(gen() & 0xFF);
    return s;
}

std::string WithoutLineBreaks(std::string text) {
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}

TEST(Base64, Rfc4648Vectors) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(EncodeBase64Text(plain), encoded);
        EXPECT_EQ(DecodeBase64Text(encoded), plain);
    }
}

TEST(Base64, BreaksAfterEveryFullLineOfSeventySix) {
    // 55 bytes: the padded last group still fills the line.
    const std::string padded = EncodeBase64Text(std::string(55, 'x'));
    ASSERT_EQ(padded.size(), 78u);
    EXPECT_EQ(padded.substr(74), "==\r\n");

    const std::string line = EncodeBase64Text(std::string(57, 'x'));
    ASSERT_EQ(line.size(), 78u);
    EXPECT_EQ(line.substr(76), "\r\n");

    const std::string two = EncodeBase64Text(std::string(58, 'x'));
    ASSERT_EQ(two.size(), 82u);
    EXPECT_EQ(two.substr(76, 2), "\r\n");
    EXPECT_EQ(two.substr(80), "==");

    const std::string full = EncodeBase64Text(std::string(114, 'x'));
    ASSERT_EQ(full.size(), 156u);
    EXPECT_EQ(full.substr(76, 2), "\r\n");
    EXPECT_EQ(full.substr(154), "\r\n");
}

TEST(Base64, SizesMatchTheTextForEveryLength) {
    for (std::size_t n = 0; n < 400; ++n) {
        const std::string bytes = RandomBytes(n, static_cast<std::uint32_t>(n));
        const std::string text = EncodeBase64Text(bytes);
        const std::size_t m = 4 * ((n + 2) / 3);
        ASSERT_EQ(text.size(), m + 2 * (m / 76)) << n;
        ASSERT_EQ(Base64TextSize(n, true), text.size());
        ASSERT_EQ(Base64TextSize(n, false), m);
        // Every CR LF sits right after 76 characters of its line.
        for (std::size_t at = 76; at < text.size(); at += 78) {
            ASSERT_EQ(text.substr(at, 2), "\r\n") << n;
        }
        std::string flat(m, '\0');
        EncodeBase64Into(bytes, flat.data(), false);
        ASSERT_EQ(flat, WithoutLineBreaks(text)) << n;
    }
}

TEST(Base64, RoundTripsWithAnyLineForm) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 56u, 57u, 58u, 113u, 114u, 115u, 1000u, 100000u}) {
        const std::string bytes = RandomBytes(n, 7);
        const std::string text = EncodeBase64Text(bytes);
        EXPECT_EQ(DecodeBase64Text(text), bytes) << n;
        EXPECT_EQ(DecodeBase64Text(WithoutLineBreaks(text)), bytes) << n;
        std::string lfOnly = text;
        std::erase(lfOnly, '\r');
        EXPECT_EQ(DecodeBase64Text(lfOnly), bytes) << n;
    }
}

TEST(Base64, NoiseIsDroppedAnywhere) {
    const std::string bytes = RandomBytes(500, 3);
    const std::string text = WithoutLineBreaks(EncodeBase64Text(bytes));
    const char noise[] = {'\\', '!', '\r', '\n', ' ', '\0', '\x1a', '\x80', '\xff', '*', '@'};
    std::mt19937 gen(11);
    std::string noisy;
    for (char c : text) {
        while (gen() % 3 == 0) noisy += noise[gen() % sizeof noise];
        noisy += c;
    }
    EXPECT_EQ(DecodeBase64Text(noisy), bytes);
    EXPECT_EQ(DecodeBase64Text("Zm\\9v!Ym\r\nFy"), "foobar");
    EXPECT_EQ(DecodeBase64Text("\r\n!\\ \xff"), "");
}

TEST(Base64, PadsDoNotEndTheText) {
    // Concatenated texts decode to the concatenated bytes.
    EXPECT_EQ(DecodeBase64Text(EncodeBase64Text("a") + EncodeBase64Text("bc")), "abc");
    EXPECT_EQ(DecodeBase64Text("Zg==Zm8=Zm9v"), "ffofoo");
}

TEST(Base64, PadOutsideTheLastTwoPositionsCountsAsIndex64) {
    // "=QQQ": p = 64 adds nothing to the first byte: (256 + 1) & 255 = 1.
    EXPECT_EQ(DecodeBase64Text("=QQQ"), std::string("\x01\x04\x10", 3));
    // "Q=QQ": q = 64 adds 4 to the first byte and nothing to the second.
    EXPECT_EQ(DecodeBase64Text("Q=QQ"), std::string("\x44\x04\x10", 3));
    // Third '=' with a real fourth: no second byte, third byte = s.
    EXPECT_EQ(DecodeBase64Text("QQ=Q"), std::string("\x41\x10", 2));
}

TEST(Base64, IncompleteLastGroupIsCompletedWithPads) {
    EXPECT_EQ(DecodeBase64Text("Q"), "");
    EXPECT_EQ(DecodeBase64Text("QQ"), "A");
    EXPECT_EQ(DecodeBase64Text("QUI"), "AB");
    EXPECT_EQ(DecodeBase64Text("Zm9vQ"), "foo");
    EXPECT_EQ(DecodeBase64Text("Zm9vQUI"), "fooAB");
}

TEST(Base64, AgreesWithPlainDecoderOnArbitraryText) {
    std::mt19937 gen(5);
    const std::string pool = "ABCDQwxyz019+/====\r\n\\!\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string text(gen() % 64, '\0');
        for (auto& c : text) c = pool[gen() % pool.size()];
        ASSERT_EQ(DecodeBase64Text(text), ReferenceDecodeBase64(text)) << text;
    }
}

TEST(Base64, DecodesInPlace) {
    std::mt19937 gen(9);
    for (std::size_t n : {0u, 5u, 57u, 999u, 65536u}) {
        const std::string bytes = RandomBytes(n, static_cast<std::uint32_t>(n));
        std::string text = EncodeBase64Text(bytes);
        // Sprinkle noise so the slow path runs in place too.
        for (std::size_t i = 0; i < text.size(); i += 1 + gen() % 50) text.insert(i, 1, '!');
        const std::string outOfPlace = DecodeBase64Text(text);
        const std::size_t written = DecodeBase64Into(text, text.data());
        EXPECT_EQ(text.substr(0, written), outOfPlace);
        EXPECT_EQ(outOfPlace, bytes);
    }
}

// A text in pieces decodes as the whole text does, wherever the cuts fall.
TEST(Base64, PiecesDecodeAsTheirJoinedText) {
    std::mt19937 gen(21);
    const std::string pool = "ABCDQwxyz019+/=\r\n!";
    for (int round = 0; round < 500; ++round) {
        std::string text = WithoutLineBreaks(EncodeBase64Text(RandomBytes(gen() % 300, round)));
        for (std::size_t i = 0; i < text.size(); i += 1 + gen() % 40) {
            text.insert(i, 1, pool[gen() % pool.size()]);
        }
        std::string pieces;
        Base64Decoder decoder;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t n = std::min<std::size_t>(text.size() - at, gen() % 70);
            std::string out(Base64Decoder::MaxDecodedSize(n), '\0');
            out.resize(decoder.Decode(std::string_view(text).substr(at, n), out.data()));
            pieces += out;
            at += n;
        }
        char last[2];
        pieces.append(last, decoder.Finish(last));
        ASSERT_EQ(pieces, DecodeBase64Text(text)) << text;
    }
}

// ---- The processor's kernels against the portable ones ----

std::vector<const Base64Kernels*> FasterKernels() {
    const auto sets = detail::ProcessorBase64Kernels();
    return {sets.begin(), sets.end()};
}

#define SKIP_WITHOUT_FASTER_KERNELS()                                                        \
    if (FasterKernels().empty()) GTEST_SKIP() << "this processor has no SIMD base64 kernels; " \
                                                 "the scalar code alone is in use"

// Every length around the kernels' block sizes, every amount of input
// readable beyond the groups, at every offset into the buffer.
TEST(Base64Kernels, EncodeAsTheScalarCodeDoes) {
    SKIP_WITHOUT_FASTER_KERNELS();
    const std::string bytes = RandomBytes(1200, 17);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const Base64Kernels& scalar = detail::ScalarBase64Kernels();
    for (const Base64Kernels* kernels : FasterKernels()) {
        SCOPED_TRACE(kernels->name);
        for (std::size_t groups = 0; groups <= 130; ++groups) {
            for (std::size_t extra : {0u, 1u, 3u, 4u, 12u, 40u}) {
                for (std::size_t offset : {0u, 1u, 7u}) {
                    std::string expected(4 * groups + 8, '#');
                    std::string actual = expected;
                    scalar.encodeGroups(in + offset, groups, 3 * groups + extra, expected.data());
                    kernels->encodeGroups(in + offset, groups, 3 * groups + extra, actual.data());
                    ASSERT_EQ(actual, expected) << groups << " " << extra << " " << offset;
                }
            }
        }
        // Whole lines, with as little readable beyond them as may be.
        for (std::size_t lines = 0; lines <= 6; ++lines) {
            for (std::size_t extra : {0u, 1u, 3u, 4u, 5u, 60u}) {
                std::string expected(78 * lines + 8, '#');
                std::string actual = expected;
                scalar.encodeLines(in, lines, 57 * lines + extra, expected.data());
                kernels->encodeLines(in, lines, 57 * lines + extra, actual.data());
                ASSERT_EQ(actual, expected) << lines << " " << extra;
            }
        }
    }
}

// Clean runs of every length with one foreign byte of every kind at every
// place, and with line breaks: the same bytes, the same stop, nothing
// written past it.
TEST(Base64Kernels, DecodeAsTheScalarCodeDoes) {
    SKIP_WITHOUT_FASTER_KERNELS();
    const std::string clean = WithoutLineBreaks(EncodeBase64Text(RandomBytes(300, 23)));
    const std::string lines = EncodeBase64Text(RandomBytes(300, 24));
    const Base64Kernels& scalar = detail::ScalarBase64Kernels();
    std::vector<char> foreign{'=', '\r', '\n', '\0', '\x1a', '\\', '!', '*', '@', '[', '`', '{',
                              ':', '-', '.', ' ', '\x7f', '\x80', '\xab', '\xff'};
    for (const Base64Kernels* kernels : FasterKernels()) {
        SCOPED_TRACE(kernels->name);
        for (const std::string& base : {clean, lines}) {
            for (std::size_t n = 0; n <= 100; ++n) {
                for (std::size_t at = 0; at <= n; ++at) {
                    for (const std::size_t count : {1u, 2u}) {
                        std::string text = base.substr(0, n);
                        for (std::size_t k = at; k < std::min(n, at + count); ++k)
                            text[k] = foreign[(n + k) % foreign.size()];
                        const auto* in = reinterpret_cast<const unsigned char*>(text.data());
                        std::string expected(n + 8, '#');
                        std::string actual = expected;
                        const auto e = scalar.decodeGroups(in, n, expected.data());
                        const auto a = kernels->decodeGroups(in, n, actual.data());
                        ASSERT_EQ(a.used, e.used) << n << " " << at;
                        ASSERT_EQ(a.written, e.written) << n << " " << at;
                        ASSERT_EQ(actual, expected) << n << " " << at;
                    }
                }
            }
        }
        // Decoding in place gives what decoding elsewhere gives.
        std::string text = lines;
        std::string elsewhere(text.size(), '\0');
        const auto* in = reinterpret_cast<const unsigned char*>(text.data());
        const auto e = kernels->decodeGroups(in, text.size(), elsewhere.data());
        const auto a = kernels->decodeGroups(in, text.size(), text.data());
        ASSERT_EQ(a.used, e.used);
        ASSERT_EQ(a.written, e.written);
        EXPECT_EQ(text.substr(0, a.written), elsewhere.substr(0, e.written));
    }
}

// Whole noisy texts in pieces, each kernel set against the scalar one.
TEST(Base64Kernels, DecodersAgreeOnNoisyTextsInPieces) {
    SKIP_WITHOUT_FASTER_KERNELS();
    std::mt19937 gen(29);
    const std::string pool = "=\r\n\\!*\x1a";
    for (const Base64Kernels* kernels : FasterKernels()) {
        SCOPED_TRACE(kernels->name);
        for (int round = 0; round < 300; ++round) {
            std::string text = EncodeBase64Text(RandomBytes(gen() % 2000, round));
            for (std::size_t i = gen() % 200; i < text.size(); i += 1 + gen() % 200) {
                text.insert(i, 1, pool[gen() % pool.size()]);
            }
            Base64Decoder reference(detail::ScalarBase64Kernels());
            Base64Decoder fast(*kernels);
            std::string expected(text.size(), '\0');
            std::string actual(text.size(), '\0');
            std::size_t e = 0;
            std::size_t a = 0;
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t n = std::min<std::size_t>(text.size() - at, 1 + gen() % 500);
                const std::string_view piece = std::string_view(text).substr(at, n);
                e += reference.Decode(piece, expected.data() + e);
                a += fast.Decode(piece, actual.data() + a);
                at += n;
            }
            ASSERT_EQ(actual.substr(0, a), expected.substr(0, e)) << round;
        }
    }
}

// CTest runs this suite twice, the second time with IMGCRYPT_SIMD=off: the
// scalar code then carries every test above, on any processor.
TEST(Base64Kernels, TheEnvironmentChoosesTheKernelsInUse) {
    const char* wanted = std::getenv("IMGCRYPT_SIMD");
    const std::string active = detail::ActiveBase64Kernels().name;
    if (wanted != nullptr && std::string(wanted) == "off") {
        EXPECT_EQ(active, "scalar");
    } else if (wanted == nullptr) {
        EXPECT_EQ(active, FasterKernels().empty() ? "scalar" : FasterKernels().front()->name);
    }
    std::cout << "base64 kernels in use: " << active << "\n";
}

}  // namespace
}  // namespace imgcrypt
