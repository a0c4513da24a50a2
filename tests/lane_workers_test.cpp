// SPDX-License-Identifier: MIT
// Lane helpers run each task of a round exactly once and hand its results back to the caller.
#include "engine/lane_workers.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

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
        ASSERT_TRUE(workers.Start(std::move(tasks)));
        workers.Wait();
        ASSERT_EQ(counts[0], round);
        ASSERT_EQ(counts[1], round);
        ASSERT_EQ(counts[2], round / 2);
        ASSERT_NE(ranOn[0], std::this_thread::get_id());
        ASSERT_NE(ranOn[0], ranOn[1]);
    }
}

TEST(LaneWorkers, StartWaitsForTheRoundBeforeAndDestructionForTheLast) {
    int first = 0;
    int second = 0;
    {
        LaneWorkers workers;
        ASSERT_TRUE(workers.Start({[&] { first = 1; }}));
        ASSERT_TRUE(workers.Start({[&] { second = first + 1; }}));
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

}  // namespace
}  // namespace rizo
