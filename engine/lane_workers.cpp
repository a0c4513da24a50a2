// SPDX-License-Identifier: MIT
// Helper threads that each run one task per round.
#include "engine/lane_workers.h"

#include <system_error>

namespace rizo {

LaneWorkers::~LaneWorkers() {
    {
        std::unique_lock lock(mutex);
        finished.wait(lock, [this] { return pending == 0; });
        quitting = true;
    }
    wake.notify_all();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

bool LaneWorkers::TryStart(std::vector<Task> round) {
    {
        std::lock_guard lock(mutex);
        if (pending != 0) {
            return false;
        }
        try {
            while (helpers.size() < round.size()) {
                helpers.emplace_back(&LaneWorkers::Serve, this, helpers.size());
            }
        } catch (const std::system_error&) {
            return false;
        }
        tasks = std::move(round);
        pending = tasks.size();
        ++generation;
    }
    wake.notify_all();
    return true;
}

void LaneWorkers::Wait() {
    std::unique_lock lock(mutex);
    finished.wait(lock, [this] { return pending == 0; });
}

void LaneWorkers::Serve(std::size_t index) {
    // A helper is created inside Start, before the round it was created for is published, so the
    // first generation it sees is that round.
    uint64_t done = 0;
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return quitting || generation != done; });
        if (quitting) {
            return;
        }
        done = generation;
        if (index >= tasks.size()) {
            continue;
        }
        lock.unlock();
        tasks[index]();
        lock.lock();
        if (--pending == 0) {
            finished.notify_all();
        }
    }
}

}  // namespace rizo
