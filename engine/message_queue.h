// SPDX-License-Identifier: MIT
// The worker messages of a batch queued for the thread that handles them, in order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "engine/message_poster.h"

namespace rizo {

struct QueuedMessage {
    int message = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;
};

// Read either by waiting in Take (a thread of its own, as the command line's) or, by an event loop
// that its wake calls on, with TakeAll and PutBack.
class MessageQueue : public MessagePoster {
public:
    // Called on the posting thread, outside the lock, when a message comes to a queue whose reader
    // has not been woken since a TakeAll found it empty: once for a run of messages.
    using Wake = std::function<void()>;

    explicit MessageQueue(Wake wake = {});

    void Post(int message, int64_t wParam, int64_t lParam) override;
    // Waits at most about `limit` for the next message and removes it; none when nothing came. A
    // message other than the batch's end may wait a few milliseconds to be collected with those
    // after it.
    std::optional<QueuedMessage> Take(std::chrono::milliseconds limit);
    // Removes every queued message. Finding none arms the wake for the next message; after taking
    // some the reader is expected to call again later without being woken.
    std::deque<QueuedMessage> TakeAll();
    // Puts the messages a reader took and did not get to back ahead of those queued since, in
    // their order, and wakes the reader for them.
    void PutBack(std::deque<QueuedMessage>& rest);

private:
    Wake wake;
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<QueuedMessage> messages;
    // Set, under the lock, from the message that wakes the reader until a TakeAll finds the queue
    // empty: the messages posted meanwhile wake nothing.
    bool wakePending = false;
};

}  // namespace rizo
