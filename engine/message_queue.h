// SPDX-License-Identifier: MIT
// The worker messages of a batch queued for the thread that handles them, in order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "engine/message_poster.h"

namespace rizo {

struct QueuedMessage {
    int message = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;
};

class MessageQueue : public MessagePoster {
public:
    void Post(int message, int64_t wParam, int64_t lParam) override;
    // Waits at most about `limit` for the next message and removes it; none when nothing came. A
    // message other than the batch's end may wait a few milliseconds to be collected with those
    // after it.
    std::optional<QueuedMessage> Take(std::chrono::milliseconds limit);

private:
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<QueuedMessage> messages;
};

}  // namespace rizo
