#include "codec/high_level_scramble.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "runtime/byte_search.h"

namespace imgcrypt {
namespace {

constexpr std::size_t kShiftPassMargin = 10;  // the shift pass stops at L-10
constexpr unsigned kShiftCycle = 5;

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
    for (std::size_t base = 0; base < end; base += 64) {
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
    // Whole blocks of 64 before raiseEnd: every '\' in them raises.
    for (; base + 64 <= raiseEnd; base += 64) {
        std::uint64_t backslashes = detail::MatchBits64(text + base, kBackslash);
        while (backslashes != 0) {
            const auto k = static_cast<unsigned>(std::countr_zero(backslashes));
            const std::size_t i = base + k;
            backslashes &= backslashes - 1;
            text[i + 1] = Raised(text[i + 1], shift);
            shift = static_cast<unsigned>((offset + i + 1) % kShiftCycle);
            text[i] = kSlash;
            // The raised follower is looked at as it now is.
            if (k < 63) {
                const std::uint64_t bit = std::uint64_t{1} << (k + 1);
                backslashes = text[i + 1] == kBackslash ? backslashes | bit : backslashes & ~bit;
            }
        }
    }
    for (; base < settled; base += 64) {
        std::uint64_t backslashes = detail::MatchBits(text, base, settled, kBackslash);
        while (backslashes != 0) {
            const auto k = static_cast<unsigned>(std::countr_zero(backslashes));
            const std::size_t i = base + k;
            backslashes &= backslashes - 1;
            if (i < raiseEnd) {
                text[i + 1] = Raised(text[i + 1], shift);
                shift = static_cast<unsigned>((offset + i + 1) % kShiftCycle);
                if (k < 63 && i + 1 < settled) {
                    const std::uint64_t bit = std::uint64_t{1} << (k + 1);
                    backslashes = text[i + 1] == kBackslash ? backslashes | bit : backslashes & ~bit;
                }
            }
            text[i] = kSlash;
        }
    }
    shift_ = shift;
    offset_ = offset + settled;
    return settled;
}

void UnscrambleHighLevel(std::span<char> text) noexcept {
    HighLevelUnscrambler().Unscramble(text.data(), text.size(), true);
}

}  // namespace imgcrypt
