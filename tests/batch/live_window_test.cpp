// The key derivation's worker: the window's thread keeps handling input
// until the work is done, and what the work throws reaches the window's
// thread (where the error box shows it).
#include "batch/live_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "codec/sealed_errors.h"

namespace imgcrypt {
namespace {

TEST(LiveWindow, EventsAreHandledOnThisThreadUntilTheWorkIsDone) {
    const std::thread::id window = std::this_thread::get_id();
    std::atomic<int> handled = 0;
    std::thread::id worker;
    RunWithWindowLive(
        [&] {
            worker = std::this_thread::get_id();
            // Done only once the window has been let in three times meanwhile.
            while (handled < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        [&] {
            EXPECT_EQ(std::this_thread::get_id(), window);
            ++handled;
        });
    EXPECT_NE(worker, window);
    EXPECT_GE(handled, 3);
}

TEST(LiveWindow, WhatTheWorkThrowsIsThrownHere) {
    EXPECT_THROW(RunWithWindowLive([] { throw EKeyDerivationMemory(65536); }, [] {}),
                 EKeyDerivationMemory);
}

}  // namespace
}  // namespace imgcrypt
