// SPDX-License-Identifier: MIT
// Helper threads that each run one task per round, for callers that start a round and wait.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace rizo {

// Helpers are created on first use and sleep on a condition variable between rounds, so an
// engine that never digests in parallel costs no thread, and an idle one no processor time.
class LaneWorkers {
public:
    using Task = std::function<void()>;

    LaneWorkers() = default;
    ~LaneWorkers();
    LaneWorkers(const LaneWorkers&) = delete;
    LaneWorkers& operator=(const LaneWorkers&) = delete;

    // Starts tasks[i] on helper i and returns at once, unless a round is still running: callers
    // sharing the helpers never wait for each other. False, and nothing runs, when a round is on
    // or a helper thread cannot be created.
    bool TryStart(std::vector<Task> round);
    // Returns when every task of the round has ended; their writes are then visible.
    void Wait();

private:
    void Serve(std::size_t index);

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finished;
    std::vector<Task> tasks;
    uint64_t generation = 0;
    std::size_t pending = 0;
    bool quitting = false;
    std::vector<std::thread> helpers;
};

}  // namespace rizo
