// SPDX-License-Identifier: MIT
// The worker's messages to the window and the interface that carries them across threads.
#pragma once

#include <cstdint>

namespace rizo {

enum HashMessage : int {
    UM_HASH_PROGRESS = 1124,    // wParam 0, lParam 0: read the progress state
    UM_HASH_FILE_DONE = 1125,   // wParam the file's row, lParam its index in the results
    UM_HASH_BATCH_DONE = 1126,  // wParam 0, lParam 0: the worker's last act
};

// Called on the worker thread. Must be thread-safe and must not wait for the receiving thread,
// which may itself be waiting for the worker to end; the messages must arrive in the order posted.
class MessagePoster {
public:
    virtual ~MessagePoster() = default;
    virtual void Post(int message, int64_t wParam, int64_t lParam) = 0;
};

}  // namespace rizo
