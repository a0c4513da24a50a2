// SPDX-License-Identifier: MIT
// The batch's message queue delivers every message in order: to the command line's waiting Take,
// also those posted while it sleeps with no batch end to wake it, and giving up a wait at its
// limit; to the window's TakeAll, waking it once for a run of messages and keeping what a handler
// puts back ahead of what came since.
#include "engine/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
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

std::deque<int64_t> Params(const std::deque<QueuedMessage>& messages) {
    std::deque<int64_t> params;
    for (const QueuedMessage& message : messages) {
        params.push_back(message.wParam);
    }
    return params;
}

TEST(MessageQueue, WakesOnceForARunOfMessagesAndKeepsThosePutBackAhead) {
    int wakes = 0;
    MessageQueue queue([&wakes] { ++wakes; });
    EXPECT_TRUE(queue.TakeAll().empty());
    EXPECT_EQ(wakes, 0) << "taking from an empty queue wakes nothing";

    for (int64_t i = 0; i < 3; ++i) {
        queue.Post(UM_HASH_FILE_DONE, i, 0);
    }
    EXPECT_EQ(wakes, 1) << "a run of messages wakes the reader once";
    std::deque<QueuedMessage> taken = queue.TakeAll();
    EXPECT_EQ(Params(taken), (std::deque<int64_t>{0, 1, 2}));

    // A reader that took messages calls again by itself: what comes meanwhile wakes nothing.
    queue.Post(UM_HASH_FILE_DONE, 3, 0);
    EXPECT_EQ(wakes, 1);
    taken.pop_front();
    queue.PutBack(taken);
    EXPECT_TRUE(taken.empty()) << "what is put back leaves the reader's hands";
    EXPECT_EQ(wakes, 2) << "what is put back wakes the reader for it";
    queue.Post(UM_HASH_BATCH_DONE, 4, 0);
    EXPECT_EQ(Params(queue.TakeAll()), (std::deque<int64_t>{1, 2, 3, 4}))
        << "what is put back comes before what was posted since, in its order";

    EXPECT_TRUE(queue.TakeAll().empty());
    queue.Post(UM_HASH_PROGRESS, 5, 0);
    EXPECT_EQ(wakes, 3) << "a TakeAll that finds the queue empty arms the wake again";
}

TEST(MessageQueue, TakeAllGetsAPosterThreadsMessagesInOrderAndIsWokenForTheLast) {
    constexpr int64_t kCount = 20000;
    std::atomic<int> wakes = 0;
    MessageQueue queue([&wakes] { wakes.fetch_add(1); });
    std::thread worker([&queue] {
        for (int64_t i = 0; i < kCount; ++i) {
            queue.Post(i + 1 == kCount ? UM_HASH_BATCH_DONE : UM_HASH_FILE_DONE, i, 0);
        }
    });
    int64_t expected = 0;
    int putBack = 0;
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (expected < kCount && std::chrono::steady_clock::now() < deadline) {
        // As the window does, called again after taking some; once it found none, only a wake
        // says that more came.
        const int wakesBefore = wakes.load();
        std::deque<QueuedMessage> taken = queue.TakeAll();
        if (taken.empty()) {
            while (wakes.load() == wakesBefore && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::yield();
            }
            continue;
        }
        while (!taken.empty()) {
            if (taken.front().wParam != expected) {
                ADD_FAILURE() << "message " << expected << " out of order";
                expected = kCount;
                break;
            }
            taken.pop_front();
            ++expected;
            // Now and then the handler's slice runs out with messages left.
            if (expected % 97 == 0 && !taken.empty()) {
                queue.PutBack(taken);
                ++putBack;
            }
        }
    }
    worker.join();
    EXPECT_EQ(expected, kCount) << "the messages did not all come within the deadline";
    EXPECT_GT(putBack, 0);
}

}  // namespace
}  // namespace rizo
