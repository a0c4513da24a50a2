// SPDX-License-Identifier: MIT
// The command line's message queue delivers every message in order, also those posted while the
// main thread sleeps with no batch end to wake it.
#include "cli/message_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace rizo {
namespace {

TEST(MessageQueue, DeliversEveryMessageInOrderWithOrWithoutTheBatchEnd) {
    MessageQueue queue;
    std::thread worker([&queue] {
        for (int64_t i = 0; i < 1000; ++i) {
            queue.Post(i % 2 == 0 ? UM_HASH_PROGRESS : UM_HASH_FILE_DONE, i, -i);
        }
    });
    for (int64_t i = 0; i < 1000; ++i) {
        const QueuedMessage next = queue.Take();
        ASSERT_EQ(next.message, i % 2 == 0 ? UM_HASH_PROGRESS : UM_HASH_FILE_DONE);
        ASSERT_EQ(next.wParam, i);
        ASSERT_EQ(next.lParam, -i);
    }
    worker.join();

    std::thread ender([&queue] { queue.Post(UM_HASH_BATCH_DONE, 0, 0); });
    EXPECT_EQ(queue.Take().message, UM_HASH_BATCH_DONE);
    ender.join();
}

}  // namespace
}  // namespace rizo
