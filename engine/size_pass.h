// SPDX-License-Identifier: MIT
// The byte total of a batch, summed on the batch's lane helper so the first result is not delayed
// and no thread is spent on it alone.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>

#include "engine/lane_workers.h"

namespace rizo {

class SizePass {
public:
    SizePass() = default;
    // Ends a pass still running.
    ~SizePass();
    SizePass(const SizePass&) = delete;
    SizePass& operator=(const SizePass&) = delete;

    // Starts summing the sizes of `paths` on `helper`, which are read where they lie: they must
    // stay there unchanged until the pass is finished. A path that cannot be examined counts 0, as
    // its file will; a file counts no more than the `byteLimit` bytes read of it. Large files
    // meanwhile find the helper busy and digest on their own thread. When the helper cannot be
    // had the total stays unknown.
    void Start(std::span<const std::string> paths, std::shared_ptr<LaneWorkers> helper,
               uint64_t byteLimit = std::numeric_limits<uint64_t>::max());
    // Ends the pass at once if it is still running, and waits for it.
    void Finish();

    // The sizes summed so far; complete once Known().
    uint64_t Bytes() const { return bytes.load(std::memory_order_relaxed); }
    bool Known() const { return known.load(std::memory_order_acquire); }

private:
    void Run(std::span<const std::string> paths, uint64_t byteLimit);

    std::atomic<uint64_t> bytes = 0;
    std::atomic<bool> known = false;
    std::atomic<bool> quit = false;
    std::shared_ptr<LaneWorkers> lane;
};

}  // namespace rizo
