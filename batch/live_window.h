// The long steps of a sealed run with the window still live. The key
// derivation (0.1 to 1 s) cannot be interrupted, so it runs on a thread of
// its own while the window thread handles its input; a large file lets the
// window handle its input from its progress hook, paced here.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace imgcrypt {

// The longest the window goes without handling its input during those
// steps; a large file also lets it in after every kEventBytes.
inline constexpr std::chrono::milliseconds kEventInterval{20};
inline constexpr std::uint64_t kEventBytes = std::uint64_t{1} << 20;

// Runs `work` on a thread of its own; meanwhile calls `processEvents` at
// once and then every kEventInterval until `work` has returned. Throws what
// `work` threw. `work` must not touch the window, and nothing `work` uses
// may change under it while it runs.
void RunWithWindowLive(const std::function<void()>& work,
                       const std::function<void()>& processEvents);

// Whether a file's progress hook should let the window handle its input
// now: after kEventBytes of the file or kEventInterval since the last time.
// One per file.
class EventPacer {
  public:
    EventPacer() : last_(Clock::now()) {}

    // `done`: bytes of the file so far. True when due, and counts from here.
    bool Due(std::uint64_t done);

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point last_;
    std::uint64_t lastDone_ = 0;
};

}  // namespace imgcrypt
