// The process-wide pseudo-random generator. It is never seeded, so every run
// of a program draws the same sequence; the container trailers depend on it.
#pragma once

#include <cstdint>

namespace imgcrypt {

// Current generator state (0 at process start).
std::uint32_t GeneratorState() noexcept;
// Sets the state; tests and tools use it to restart the sequence.
void SetGeneratorState(std::uint32_t state) noexcept;

// One step; 0..n-1 for n >= 1, 0 for n == 0.
std::uint32_t RandomBelow(std::uint32_t n) noexcept;
// One step; from the smaller bound up to the larger one, the larger excluded.
int RandomBetween(int low, int high) noexcept;

}  // namespace imgcrypt
