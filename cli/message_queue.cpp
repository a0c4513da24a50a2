// The command line's message loop: the worker's messages queued for the main thread, in order.
#include "cli/message_queue.h"

namespace rizo {

void MessageQueue::Post(int message, int64_t wParam, int64_t lParam) {
    {
        std::lock_guard lock(mutex);
        messages.push_back({message, wParam, lParam});
    }
    posted.notify_one();
}

QueuedMessage MessageQueue::Take() {
    std::unique_lock lock(mutex);
    posted.wait(lock, [this] { return !messages.empty(); });
    QueuedMessage next = messages.front();
    messages.pop_front();
    return next;
}

}  // namespace rizo
