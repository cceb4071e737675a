#include "codec/high_level_scramble.h"

#include <algorithm>

#include "runtime/byte_search.h"

namespace imgcrypt {
namespace {

using detail::FindAny;

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
    const std::size_t at = offset_;
    const char lastOriginal = piece[n - 1];
    const std::size_t end = examinedEnd_ > at ? std::min(n, examinedEnd_ - at) : 0;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t previousSlash = kNone;
    bool lowerNext = false;
    unsigned nextShift = 0;
    for (std::size_t i = FindAny(piece, 0, end, kSlash); i < end;) {
        // Before i: the carried flag at the piece start, else a '/' found
        // right before i and not replaced (a lowered follower never counts).
        const bool slashBefore =
            i == 0 ? slashBefore_ : previousSlash == i - 1 && piece[i - 1] == kSlash;
        const char right = i + 1 < n ? piece[i + 1] : next;
        const bool lone = !slashBefore && right != kSlash;
        previousSlash = i;
        if (!lone) {
            i = FindAny(piece, i + 1, end, kSlash);
            continue;
        }
        piece[i] = kBackslash;
        if (at + i < shiftEnd_) {
            if (i + 1 < n) {
                piece[i + 1] = Lowered(piece[i + 1], shift_);
            } else {
                lowerNext = true;
                nextShift = shift_;
            }
            shift_ = static_cast<unsigned>((at + i + 1) % kShiftCycle);
        }
        // The follower was not '/', whatever it became.
        i = i + 2 < end ? FindAny(piece, i + 2, end, kSlash) : end;
    }
    // Only now: the slash rule above had to see the original first character.
    if (lowerFirst_) piece[0] = Lowered(piece[0], firstShift_);
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
    for (std::size_t i = FindAny(text, 0, settled, kBackslash); i < settled;
         i = FindAny(text, i + 1, settled, kBackslash)) {
        if (i < raiseEnd) {
            text[i + 1] = Raised(text[i + 1], shift_);
            shift_ = static_cast<unsigned>((offset_ + i + 1) % kShiftCycle);
        }
        text[i] = kSlash;
    }
    offset_ += settled;
    return settled;
}

void UnscrambleHighLevel(std::span<char> text) noexcept {
    HighLevelUnscrambler().Unscramble(text.data(), text.size(), true);
}

}  // namespace imgcrypt
