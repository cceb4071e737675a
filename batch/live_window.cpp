#include "batch/live_window.h"

#include <future>

namespace imgcrypt {

void RunWithWindowLive(const std::function<void()>& work,
                       const std::function<void()>& processEvents) {
    // The future's destructor waits for the thread, so `work` never outlives
    // this call, even when `processEvents` throws.
    std::future<void> done = std::async(std::launch::async, work);
    do {
        processEvents();
    } while (done.wait_for(kEventInterval) != std::future_status::ready);
    done.get();
}

bool EventPacer::Due(std::uint64_t done) {
    const Clock::time_point now = Clock::now();
    if (done - lastDone_ < kEventBytes && now - last_ < kEventInterval) return false;
    last_ = now;
    lastDone_ = done;
    return true;
}

}  // namespace imgcrypt
