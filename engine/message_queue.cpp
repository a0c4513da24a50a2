// SPDX-License-Identifier: MIT
// The worker messages of a batch queued for the thread that handles them, in order.
#include "engine/message_queue.h"

#include <algorithm>
#include <utility>

namespace rizo {

namespace {

// Waking the main thread for each message cost more than hashing a small file (three messages a
// file, each a futex wake and a switch), so it collects what has queued up at this pace instead;
// only the batch's end wakes it at once. A terminal needs no fresher progress than this.
constexpr std::chrono::milliseconds kCollectEvery{40};

}  // namespace

MessageQueue::MessageQueue(Wake wakeReader) : wake(std::move(wakeReader)) {}

void MessageQueue::Post(int message, int64_t wParam, int64_t lParam) {
    bool wakeNow = false;
    {
        std::lock_guard lock(mutex);
        messages.push_back({message, wParam, lParam});
        wakeNow = !wakePending;
        wakePending = true;
    }
    if (wakeNow && wake) {
        wake();
    }
    if (message == UM_HASH_BATCH_DONE) {
        posted.notify_one();
    }
}

std::optional<QueuedMessage> MessageQueue::Take(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(mutex);
    while (messages.empty()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return std::nullopt;
        }
        posted.wait_for(
            lock, std::min<std::chrono::steady_clock::duration>(kCollectEvery, deadline - now));
    }
    QueuedMessage next = messages.front();
    messages.pop_front();
    return next;
}

std::deque<QueuedMessage> MessageQueue::TakeAll() {
    std::deque<QueuedMessage> taken;
    std::lock_guard lock(mutex);
    taken.swap(messages);
    wakePending = !taken.empty();
    return taken;
}

void MessageQueue::PutBack(std::deque<QueuedMessage>& rest) {
    {
        std::lock_guard lock(mutex);
        messages.insert(messages.begin(), rest.begin(), rest.end());
        wakePending = true;
    }
    rest.clear();
    if (wake) {
        wake();
    }
}

}  // namespace rizo
