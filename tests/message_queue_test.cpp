// SPDX-License-Identifier: MIT
// The command line's message queue delivers every message in order, also those posted while the
// main thread sleeps with no batch end to wake it, and gives up a wait at its limit.
#include "engine/message_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

namespace rizo {
namespace {

constexpr std::chrono::seconds kDeadline{10};

TEST(MessageQueue, DeliversEveryMessageInOrderWithOrWithoutTheBatchEnd) {
    MessageQueue queue;
    std::thread worker([&queue] {
        for (int64_t i = 0; i < 1000; ++i) {
            queue.Post(i % 2 == 0 ? UM_HASH_PROGRESS : UM_HASH_FILE_DONE, i, -i);
        }
    });
    for (int64_t i = 0; i < 1000; ++i) {
        const std::optional<QueuedMessage> next = queue.Take(kDeadline);
        EXPECT_TRUE(next) << "message " << i << " did not come";
        if (!next || next->message != (i % 2 == 0 ? UM_HASH_PROGRESS : UM_HASH_FILE_DONE) ||
            next->wParam != i || next->lParam != -i) {
            ADD_FAILURE() << "message " << i << " out of order";
            break;
        }
    }
    worker.join();

    EXPECT_FALSE(queue.Take(std::chrono::milliseconds(1))) << "an empty queue gives nothing";
    std::thread ender([&queue] { queue.Post(UM_HASH_BATCH_DONE, 0, 0); });
    const std::optional<QueuedMessage> end = queue.Take(kDeadline);
    ender.join();
    ASSERT_TRUE(end) << "the batch's end did not come";
    EXPECT_EQ(end->message, UM_HASH_BATCH_DONE);
}

}  // namespace
}  // namespace rizo
