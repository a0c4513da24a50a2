// SPDX-License-Identifier: MIT
// Lane helpers run each task of a round exactly once and hand its results back to the caller.
#include "engine/lane_workers.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "tests/deadline.h"

namespace rizo {
namespace {

TEST(LaneWorkers, EveryRoundRunsEachTaskOnceAndWaitSeesItsWrites) {
    LaneWorkers workers;
    std::array<int, 3> counts{};
    std::array<std::thread::id, 3> ranOn{};
    for (int round = 1; round <= 200; ++round) {
        // Rounds alternate between fewer and more tasks than helpers exist.
        const std::size_t taskCount = round % 2 == 0 ? 3 : 2;
        std::vector<LaneWorkers::Task> tasks;
        for (std::size_t i = 0; i < taskCount; ++i) {
            tasks.push_back([&, i] {
                ++counts[i];
                ranOn[i] = std::this_thread::get_id();
            });
        }
        ASSERT_TRUE(workers.TryStart(std::move(tasks)));
        workers.Wait();
        ASSERT_EQ(counts[0], round);
        ASSERT_EQ(counts[1], round);
        ASSERT_EQ(counts[2], round / 2);
        ASSERT_NE(ranOn[0], std::this_thread::get_id());
        ASSERT_NE(ranOn[0], ranOn[1]);
    }
}

// Engines reading several files at once share the helpers: one finding them busy digests its
// block itself instead of waiting.
TEST(LaneWorkers, ARoundIsRefusedWhileAnotherRunsAndDestructionWaitsForTheLast) {
    std::atomic<bool> release = false;
    std::atomic<int> runs = 0;
    {
        LaneWorkers workers;
        ASSERT_TRUE(workers.TryStart({[&] {
            ASSERT_TRUE(test::WaitUntil([&] { return release.load(); }));
            ++runs;
        }}));
        EXPECT_FALSE(workers.TryStart({[&] { runs += 10; }}));
        release = true;
        workers.Wait();
        ASSERT_TRUE(workers.TryStart({[&] { ++runs; }}));
    }
    EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace rizo
