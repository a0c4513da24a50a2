// SPDX-License-Identifier: MIT
// Waits on other threads with a limit, so that a fault fails its test in seconds instead of
// holding the suite until CTest's timeout.
#pragma once

#include <chrono>
#include <thread>

namespace rizo::test {

// Long enough for a loaded machine under a sanitizer; a wait that runs out is a fault.
constexpr std::chrono::milliseconds kDeadline{std::chrono::seconds(20)};

// Polls `done` until it holds; false when `limit` passes first.
template <class Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds limit = kDeadline) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace rizo::test
