// The high-level scramble of a line-free base64 text, and its inverse.
// Internal to codec/.
//
// Scramble: every '/' with no '/' on either side becomes '\' (the last
// character is never examined); then, over positions 1..L-10, the follower
// of each '\' is lowered by the scramble shift, which is 1 at first and then
// the position of that '\' modulo 5.
#pragma once

#include <cstddef>
#include <span>

namespace imgcrypt {

// Scrambles a text piece by piece, in place: consecutive pieces of one text
// come out exactly as the whole text would in one piece.
class HighLevelScrambler {
  public:
    explicit HighLevelScrambler(std::size_t totalLength) noexcept;

    // Scrambles the next n characters in place; they are final afterwards.
    // `next` is the original character after them (ignored after the last
    // piece): a lone '/' at the end of a piece is known only by its right
    // neighbour, and its follower is lowered when the next piece comes.
    void Scramble(char* piece, std::size_t n, char next) noexcept;

  private:
    std::size_t examinedEnd_;  // positions from here on are never examined
    std::size_t shiftEnd_;     // the shift pass stops here
    std::size_t offset_ = 0;   // position of the next piece in the text
    unsigned shift_ = 1;
    bool slashBefore_ = false;  // the original character before the piece was '/'
    bool lowerFirst_ = false;   // the piece's first character follows a lone '/'
    unsigned firstShift_ = 0;   // and is lowered by this much
};

// Undoes the scramble piece by piece, in place, without knowing the text's
// length beforehand: the last 10 characters of a piece wait for the next
// one, since only then is it known whether their followers were lowered.
class HighLevelUnscrambler {
  public:
    // Unscrambles the characters of `text` that can be settled: all of them
    // when `last`, else all but the last 10. Returns how many were settled;
    // the caller hands the rest in again at the front of the next piece.
    std::size_t Unscramble(char* text, std::size_t n, bool last) noexcept;

  private:
    std::size_t offset_ = 0;  // position of the next piece in the text
    unsigned shift_ = 1;
};

// Undoes the scramble of a whole text in place.
void UnscrambleHighLevel(std::span<char> text) noexcept;

}  // namespace imgcrypt
