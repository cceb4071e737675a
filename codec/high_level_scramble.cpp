#include "codec/high_level_scramble.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "runtime/byte_search.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kShiftPassMargin = 10;  // the shift pass stops at L-10
constexpr unsigned kShiftCycle = 5;

// Positions a two-pass group of blocks spans (see Scramble).
constexpr std::size_t kGroup = 4096;

constexpr char kSlash = '/';
constexpr char kBackslash = '\\';

char Lowered(char c, unsigned by) noexcept {
    return static_cast<char>(static_cast<unsigned char>(c) - by);
}

char Raised(char c, unsigned by) noexcept {
    return static_cast<char>(static_cast<unsigned char>(c) + by);
}

std::size_t ShiftEnd(std::size_t length) noexcept {
    return length > kShiftPassMargin ? length - kShiftPassMargin : 0;
}

// Hits ListHits takes without a branch: a block holds one '/' or '\\' on
// average, and how many is a coin toss to the processor; more than two are
// rare enough for a loop (measured: two beat one, three and four).
constexpr std::size_t kBranchFreeHits = 2;

// Appends the offset + k of every bit k of `bits` to `hits` from `count`
// on, and counts them. The first kBranchFreeHits are written whether they
// are there or not, and counted only when they are: `hits` needs room for
// that many more.
template <std::size_t N>
void ListHits(std::uint64_t bits, std::size_t offset, std::array<std::uint16_t, N>& hits,
              std::size_t& count) noexcept {
    for (std::size_t k = 0; k < kBranchFreeHits; ++k) {
        hits[count] =
            static_cast<std::uint16_t>(offset + std::countr_zero(bits | (std::uint64_t{1} << 63)));
        count += bits != 0;
        bits &= bits - 1;
    }
    for (; bits != 0; bits &= bits - 1) {
        hits[count++] = static_cast<std::uint16_t>(offset + std::countr_zero(bits));
    }
}

// Undoes the scramble over [from, to), one '\' after the other as the text
// is at that moment: each before `raiseEnd` raises its follower, and a
// follower raised into '\' is one too, a '\' raised into something else is
// not.
void UnscrambleAsTheyCome(char* text, std::size_t from, std::size_t to, std::size_t raiseEnd,
                          std::size_t offset, unsigned& shift) noexcept {
    for (std::size_t base = from; base < to; base += 64) {
        std::uint64_t backslashes = detail::MatchBits(text, base, to, kBackslash);
        while (backslashes != 0) {
            const auto k = static_cast<unsigned>(std::countr_zero(backslashes));
            const std::size_t i = base + k;
            backslashes &= backslashes - 1;
            if (i < raiseEnd) {
                text[i + 1] = Raised(text[i + 1], shift);
                shift = static_cast<unsigned>((offset + i + 1) % kShiftCycle);
                if (k < 63 && i + 1 < to) {
                    const std::uint64_t bit = std::uint64_t{1} << (k + 1);
                    backslashes =
                        text[i + 1] == kBackslash ? backslashes | bit : backslashes & ~bit;
                }
            }
            text[i] = kSlash;
        }
    }
}

}  // namespace

// Positions below are 0-based; the rules are stated 1-based.

HighLevelScrambler::HighLevelScrambler(std::size_t totalLength) noexcept
    : examinedEnd_(totalLength > 0 ? totalLength - 1 : 0), shiftEnd_(ShiftEnd(totalLength)) {}

void HighLevelScrambler::Scramble(char* piece, std::size_t n, char next) noexcept {
    // Both rules in one pass over the '/' of the piece, as if applied one
    // after the other: decisions use the original neighbours (a lowered
    // follower can turn into '/'), so the search resumes behind the follower.
    // Carried across pieces: the shift, whether the original character before
    // was '/', and a lowering owed to this piece's first character.
    if (n == 0) return;
    // In locals: every store to the piece could be a store to this object
    // for all the compiler knows.
    const std::size_t at = offset_;
    const std::size_t shiftEnd = shiftEnd_;
    const bool slashBeforePiece = slashBefore_;
    unsigned shift = shift_;
    const char lastOriginal = piece[n - 1];
    const std::size_t end = examinedEnd_ > at ? std::min(n, examinedEnd_ - at) : 0;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t previousSlash = kNone;
    bool lowerNext = false;
    unsigned nextShift = 0;
    // The '/' of the piece, 64 positions at a time; a lowered follower is
    // never taken for one (`skipFirst`: the follower opens the next 64).
    bool skipFirst = false;
    std::size_t base = 0;
    // Whole blocks whose neighbours are all in the piece, a group of blocks
    // at a time, in two passes. First the lone '/' of every block, from its
    // bits and its neighbours' at once, all read before anything changes (a
    // lowered follower may read as '/'), listed without a branch per hit:
    // how many hits a block holds is a coin toss to the processor. Then the
    // list is carried out in one loop.
    if (end >= 128) {
        bool slashBeforeBlock = slashBeforePiece;
        std::uint64_t slashes = detail::MatchBits64(piece, kSlash);
        // Offsets in the group; a lone '/' has no '/' beside it, so at most
        // every second position, and ListHits writes ahead.
        std::array<std::uint16_t, kGroup / 2 + kBranchFreeHits> hits;
        while (base + 128 <= end) {
            const std::size_t group = base;
            std::size_t count = 0;
            for (; base + 128 <= end && base < group + kGroup; base += 64) {
                const std::uint64_t nextSlashes = detail::MatchBits64(piece + base + 64, kSlash);
                const std::uint64_t lone = slashes &
                                           ~((slashes << 1) | std::uint64_t{slashBeforeBlock}) &
                                           ~((slashes >> 1) | (nextSlashes << 63));
                slashBeforeBlock = (slashes >> 63) != 0;
                skipFirst = (lone >> 63) != 0;
                ListHits(lone, base - group, hits, count);
                slashes = nextSlashes;
            }
            for (std::size_t h = 0; h < count; ++h) {
                const std::size_t i = group + hits[h];
                piece[i] = kBackslash;
                if (at + i < shiftEnd) {
                    piece[i + 1] = Lowered(piece[i + 1], shift);
                    shift = static_cast<unsigned>((at + i + 1) % kShiftCycle);
                }
            }
        }
        // The rest goes on as if this loop had found its '/' one by one.
        if (slashBeforeBlock) previousSlash = base - 1;
    }
    for (; base < end; base += 64) {
        std::uint64_t slashes = detail::MatchBits(piece, base, end, kSlash);
        if (skipFirst) slashes &= ~std::uint64_t{1};
        skipFirst = false;
        while (slashes != 0) {
            const auto k = static_cast<unsigned>(std::countr_zero(slashes));
            const std::size_t i = base + k;
            slashes &= slashes - 1;
            // Before i: the carried flag at the piece start, else a '/' found
            // right before i and not replaced.
            const bool slashBefore =
                i == 0 ? slashBeforePiece : previousSlash == i - 1 && piece[i - 1] == kSlash;
            const char right = i + 1 < n ? piece[i + 1] : next;
            previousSlash = i;
            if (slashBefore || right == kSlash) continue;
            piece[i] = kBackslash;
            if (at + i < shiftEnd) {
                if (i + 1 < n) {
                    piece[i + 1] = Lowered(piece[i + 1], shift);
                } else {
                    lowerNext = true;
                    nextShift = shift;
                }
                shift = static_cast<unsigned>((at + i + 1) % kShiftCycle);
            }
            // The follower was not '/', whatever it became.
            if (k < 63) {
                slashes &= ~(std::uint64_t{1} << (k + 1));
            } else {
                skipFirst = true;
            }
        }
    }
    // Only now: the slash rule above had to see the original first character.
    if (lowerFirst_) piece[0] = Lowered(piece[0], firstShift_);
    shift_ = shift;
    lowerFirst_ = lowerNext;
    firstShift_ = nextShift;
    slashBefore_ = lastOriginal == kSlash;
    offset_ = at + n;
}

std::size_t HighLevelUnscrambler::Unscramble(char* text, std::size_t n, bool last) noexcept {
    // At each '\', in order: raise its follower exactly where and by what the
    // writer lowered it (positions 1..L-10), then make it '/' again. Turning
    // it back only after raising keeps the positions the writer used. Before
    // the last piece every settled '\' has ten characters after it, so it
    // lies before L-10 whatever follows.
    const std::size_t settled = last ? n : ShiftEnd(n);
    const std::size_t raiseEnd = ShiftEnd(n);
    // In locals: the text is chars, and every store to it could be a store
    // to this object for all the compiler knows.
    unsigned shift = shift_;
    const std::size_t offset = offset_;
    std::size_t base = 0;
    // Whole blocks of 64 before raiseEnd, where every '\' raises: a group of
    // them at a time, in two passes as in Scramble. The list holds the '\'
    // as read before anything changes, which is what the writer made unless
    // the text was damaged.
    const std::size_t wholeEnd = raiseEnd / 64 * 64;
    std::array<std::uint16_t, kGroup + kBranchFreeHits> hits;  // damaged text may be all '\'
    while (base < wholeEnd) {
        const std::size_t group = base;
        const std::size_t groupEnd = std::min(group + kGroup, wholeEnd);
        std::size_t count = 0;
        for (; base < groupEnd; base += 64) {
            ListHits(detail::MatchBits64(text + base, kBackslash), base - group, hits, count);
        }
        for (std::size_t h = 0; h < count; ++h) {
            const std::size_t i = group + hits[h];
            const char raised = Raised(text[i + 1], shift);
            // Two '\' side by side, or a follower raised into one: only a
            // damaged text holds them; its '\' are then taken as they come.
            if (raised == kBackslash || (h + 1 < count && hits[h + 1] == hits[h] + 1))
                [[unlikely]] {
                UnscrambleAsTheyCome(text, i, groupEnd, raiseEnd, offset, shift);
                break;
            }
            text[i + 1] = raised;
            shift = static_cast<unsigned>((offset + i + 1) % kShiftCycle);
            text[i] = kSlash;
        }
    }
    // The rest, past the whole blocks; a '\' among the text's last ten
    // characters raises nothing.
    UnscrambleAsTheyCome(text, base, settled, raiseEnd, offset, shift);
    shift_ = shift;
    offset_ = offset + settled;
    return settled;
}

void UnscrambleHighLevel(std::span<char> text) noexcept {
    HighLevelUnscrambler().Unscramble(text.data(), text.size(), true);
}

}  // namespace imgcrypt
