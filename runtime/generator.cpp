#include "runtime/generator.h"

namespace imgcrypt {
namespace {

// Never seeded: every run draws the same sequence, which the container
// trailers of files already written were made with.
std::uint32_t gState = 0;

constexpr std::uint32_t kMultiplier = 134775813u;

}  // namespace

std::uint32_t GeneratorState() noexcept {
    return gState;
}

void SetGeneratorState(std::uint32_t state) noexcept {
    gState = state;
}

std::uint32_t RandomBelow(std::uint32_t n) noexcept {
    gState = gState * kMultiplier + 1u;  // unsigned arithmetic wraps mod 2^32
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * gState) >> 32);
}

int RandomBetween(int low, int high) noexcept {
    // Computed in 64 bits so bounds far apart (e.g. INT_MIN..INT_MAX) cannot overflow.
    const std::int64_t lo = low < high ? low : high;
    const std::int64_t distance = static_cast<std::int64_t>(high) - static_cast<std::int64_t>(low);
    const auto span = static_cast<std::uint32_t>(distance < 0 ? -distance : distance);
    return static_cast<int>(lo + static_cast<std::int64_t>(RandomBelow(span)));
}

}  // namespace imgcrypt
