#include "codec/high_level_scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/container_oracle.h"

namespace imgcrypt {
namespace {

using test::ReferenceScramble;
using test::ReferenceUnscramble;

// The whole text as one piece.
void ScrambleHighLevel(std::string& text) {
    HighLevelScrambler(text.size()).Scramble(text.data(), text.size(), '\0');
}

TEST(Scramble, WorkedExample) {
    std::string text(136, 'Q');
    for (int pos : {7, 31, 45, 50, 130, 60, 61}) text[pos - 1] = '/';
    std::string scrambled = text;
    ScrambleHighLevel(scrambled);
    for (int pos : {7, 31, 45, 50, 130}) EXPECT_EQ(scrambled[pos - 1], '\\') << pos;
    EXPECT_EQ(scrambled.substr(59, 2), "//");
    EXPECT_EQ(scrambled[8 - 1], 'Q' - 1);
    EXPECT_EQ(scrambled[32 - 1], 'Q' - 2);
    EXPECT_EQ(scrambled[46 - 1], 'Q' - 1);
    EXPECT_EQ(scrambled[51 - 1], 'Q');
    EXPECT_EQ(scrambled[131 - 1], 'Q');
    std::string restored = scrambled;
    UnscrambleHighLevel(restored);
    EXPECT_EQ(restored, text);
}

TEST(Scramble, ShiftPassStopsAtLMinusTen) {
    for (std::size_t len : {11u, 20u, 77u}) {
        // at(): with [] g++ 12 for i686 falsely warns of a write before
        // the string (-Wstringop-overflow).
        std::string atBound(len, 'Q');
        atBound.at(len - 10 - 1) = '/';  // position L-10: follower lowered
        std::string beyond(len, 'Q');
        beyond.at(len - 9 - 1) = '/';  // position L-9: follower kept
        std::string a = atBound, b = beyond;
        ScrambleHighLevel(a);
        ScrambleHighLevel(b);
        EXPECT_EQ(a[len - 10], 'P') << len;
        EXPECT_EQ(b[len - 9], 'Q') << len;
        EXPECT_EQ(b[len - 10], '\\') << len;
        UnscrambleHighLevel(a);
        UnscrambleHighLevel(b);
        EXPECT_EQ(a, atBound);
        EXPECT_EQ(b, beyond);
    }
}

TEST(Scramble, SlashRuleEdges) {
    std::string text = "/QQQQ//QQQ/QQQQ///Q/";
    ScrambleHighLevel(text);
    // Position 1 has no left neighbour, pairs and runs stay, position L is
    // never examined.
    EXPECT_EQ(text[0], '\\');
    EXPECT_EQ(text.substr(5, 2), "//");
    EXPECT_EQ(text[10], '\\');
    EXPECT_EQ(text.substr(15, 3), "///");
    EXPECT_EQ(text.back(), '/');
    std::string tiny = "/";
    ScrambleHighLevel(tiny);
    EXPECT_EQ(tiny, "/");
    std::string empty;
    ScrambleHighLevel(empty);
    UnscrambleHighLevel(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(Scramble, NothingShiftsUpToTenCharacters) {
    std::string text = "/Q/Q/Q/Q/Q";  // L = 10: slash rule only
    ScrambleHighLevel(text);
    EXPECT_EQ(text, "\\Q\\Q\\Q\\Q\\Q");
}

TEST(Scramble, LowDigitsBecomeSlashAndComeBack) {
    // The followers at 2 and 8 are both lowered by 1 (first shift, then
    // 1 mod 5): '0' is stored as '/', '1' as '0'.
    const std::string text = "/0QQQQ/1QQQQQQQQQQQQQQ";
    std::string scrambled = text;
    ScrambleHighLevel(scrambled);
    EXPECT_EQ(scrambled.substr(0, 2), "\\/");
    EXPECT_EQ(scrambled.substr(6, 2), "\\0");
    UnscrambleHighLevel(scrambled);
    EXPECT_EQ(scrambled, text);
}

TEST(Scramble, ShiftIsZeroAfterBackslashAtMultipleOfFive) {
    std::string text(30, 'Q');
    text[5 - 1] = '/';
    text[9 - 1] = '/';
    std::string scrambled = text;
    ScrambleHighLevel(scrambled);
    EXPECT_EQ(scrambled[6 - 1], 'P');   // first shift is 1
    EXPECT_EQ(scrambled[10 - 1], 'Q');  // 5 mod 5 = 0
}

// Lengths past 64, 128 and 256: the passes take their hits 64 positions at a
// time, whole blocks with their neighbours' bits at once.
TEST(Scramble, OnePassMatchesTheRulesAppliedLiterally) {
    std::mt19937 gen(23);
    const std::string base64Pool = "//////0123AQz+9";
    for (int round = 0; round < 3000; ++round) {
        std::string text(gen() % 400, '\0');
        for (auto& c : text) c = base64Pool[gen() % base64Pool.size()];
        std::string expected = text;
        ReferenceScramble(expected);
        std::string actual = text;
        ScrambleHighLevel(actual);
        ASSERT_EQ(actual, expected) << text;
        UnscrambleHighLevel(actual);
        ASSERT_EQ(actual, text);
        // Arbitrary bytes, as a damaged container would hold.
        std::string noise(gen() % 200, '\0');
        for (auto& c : noise) c = "\\/[]0A"[gen() % 7];
        std::string expectedNoise = noise;
        ReferenceUnscramble(expectedNoise);
        UnscrambleHighLevel(noise);
        ASSERT_EQ(noise, expectedNoise);
    }
}

TEST(HighLevelScrambler, PiecesGiveTheWholeTextScramble) {
    // Texts over '/', the followers '0'..'3' that may turn into '/', and a
    // plain letter; cut at random points, including empty pieces, some long
    // enough for whole blocks of 64.
    constexpr std::string_view kAlphabet = "/0123A";
    std::mt19937 gen(19);
    for (int round = 0; round < 20000; ++round) {
        const std::size_t len = gen() % (round % 4 == 0 ? 600 : 120);
        std::string text(len, 'A');
        for (auto& c : text) c = kAlphabet[gen() % kAlphabet.size()];
        std::string expected = text;
        ReferenceScramble(expected);

        std::vector<std::size_t> cuts = {0, len};
        const std::size_t extra = len == 0 ? 0 : gen() % 8;
        for (std::size_t k = 0; k < extra; ++k) cuts.push_back(gen() % (len + 1));
        std::sort(cuts.begin(), cuts.end());

        std::string pieces = text;
        HighLevelScrambler scrambler(len);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const std::size_t from = cuts[k], to = cuts[k + 1];
            scrambler.Scramble(pieces.data() + from, to - from, to < len ? text[to] : '\0');
        }
        ASSERT_EQ(pieces, expected) << "text " << text;
    }
}

// Past groups of 4096 positions, which both passes list before they act on
// them: the densest texts (every second character a lone '/', every one a
// '\\'), damaged ones with '\\' side by side or followers that rise into one,
// whole and in pieces.
TEST(HighLevelScrambler, LongTextsAcrossGroups) {
    std::mt19937 gen(31);
    // 4,000 to 13,000 characters drawn from `alphabet`: crossing group edges.
    const auto randomText = [&gen](std::string_view alphabet) {
        std::string text(4000 + gen() % 9000, 'A');
        for (auto& c : text) c = alphabet[gen() % alphabet.size()];
        return text;
    };
    std::string dense;
    for (int i = 0; i < 5000; ++i) dense += "/A";
    std::vector<std::string> texts = {dense, std::string(9000, '/'), dense.substr(1)};
    for (int round = 0; round < 6; ++round) texts.push_back(randomText("//0123AQz+9"));
    for (const std::string& text : texts) {
        std::string expected = text;
        ReferenceScramble(expected);
        std::string whole = text;
        ScrambleHighLevel(whole);
        ASSERT_EQ(whole, expected);
        std::string pieces = text;
        HighLevelScrambler scrambler(text.size());
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t to = std::min(text.size(), from + 1 + gen() % 6000);
            scrambler.Scramble(pieces.data() + from, to - from, to < text.size() ? text[to] : '\0');
            from = to;
        }
        ASSERT_EQ(pieces, expected);
        UnscrambleHighLevel(whole);
        ASSERT_EQ(whole, text);
    }
    std::vector<std::string> damaged = {std::string(9000, '\\'), dense};
    for (auto& c : damaged.back()) c = c == '/' ? '\\' : c;
    for (int round = 0; round < 6; ++round) damaged.push_back(randomText("\\\\\\/[]ZY0A"));
    for (const std::string& noise : damaged) {
        std::string expected = noise;
        ReferenceUnscramble(expected);
        std::string whole = noise;
        UnscrambleHighLevel(whole);
        ASSERT_EQ(whole, expected);
    }
}

TEST(HighLevelScrambler, OneCharacterPieces) {
    // Every decision then crosses a piece edge.
    std::mt19937 gen(23);
    for (int round = 0; round < 2000; ++round) {
        std::string text(gen() % 60, 'A');
        for (auto& c : text) c = "//0123A"[gen() % 7];
        std::string expected = text;
        ReferenceScramble(expected);
        std::string pieces = text;
        HighLevelScrambler scrambler(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            scrambler.Scramble(pieces.data() + i, 1, i + 1 < text.size() ? text[i + 1] : '\0');
        }
        ASSERT_EQ(pieces, expected) << "text " << text;
    }
}

TEST(HighLevelUnscrambler, PiecesGiveTheWholeTextUnscramble) {
    // Backslashes next to each other and followers that a raise turns into
    // a backslash ('[' + 1), as damaged containers hold them; the characters
    // a piece leaves unsettled come back at the front of the next.
    std::mt19937 gen(31);
    for (int round = 0; round < 5000; ++round) {
        std::string text(gen() % 300, 'A');
        for (auto& c : text) c = "\\\\/[Z0AQ"[gen() % 8];
        std::string expected = text;
        ReferenceUnscramble(expected);
        std::string pieces = text;
        HighLevelUnscrambler unscrambler;
        std::size_t start = 0;  // first character not settled yet
        std::size_t end = 0;    // the text handed in so far
        while (end < text.size()) {
            end = std::min(text.size(), end + gen() % 90);
            const bool last = end == text.size();
            start += unscrambler.Unscramble(pieces.data() + start, end - start, last);
        }
        if (text.empty()) unscrambler.Unscramble(pieces.data(), 0, true);
        ASSERT_EQ(pieces, expected) << "text " << text;
    }
}

}  // namespace
}  // namespace imgcrypt
