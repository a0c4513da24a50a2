// SPDX-License-Identifier: MIT
// The first bytes of many open files read together through io_uring.
#include "engine/batch_reads.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#if RIZO_HAVE_LIBURING
#include <liburing.h>
#endif

namespace rizo {

#if RIZO_HAVE_LIBURING

struct BatchReads::Ring {
    io_uring uring{};
    // Scratch space, one slot per read; what lands there is thrown away.
    std::vector<char> slots = std::vector<char>(kDepth * kSlotSize);
};

BatchReads::BatchReads() {
    auto made = std::make_unique<Ring>();
    if (io_uring_queue_init(kDepth, &made->uring, 0) == 0) {
        ring = std::move(made);
    }
}

BatchReads::~BatchReads() {
    if (ring != nullptr) {
        io_uring_queue_exit(&ring->uring);
    }
}

std::size_t BatchReads::ReadStarts(std::span<const int> files) {
    io_uring* uring = &ring->uring;
    std::size_t queued = 0;
    for (; queued < std::min(files.size(), kDepth); ++queued) {
        io_uring_sqe* entry = io_uring_get_sqe(uring);
        if (entry == nullptr) {
            break;
        }
        io_uring_prep_read(entry, files[queued], &ring->slots[queued * kSlotSize], kSlotSize, 0);
    }
    const int submitted = io_uring_submit(uring);
    // A read of bytes in memory completes within the submission; the others wait for storage.
    const std::size_t atOnce = submitted > 0 ? io_uring_cq_ready(uring) : 0;
    // Reads left unsubmitted would go out with the next files' under descriptors closed by then,
    // and reads left in flight would land in slots handed to the next files: a ring that fails
    // either way is not used again.
    if (submitted != static_cast<int>(queued) || !WaitFor(std::max(submitted, 0))) {
        broken = true;
    }
    return atOnce;
}

bool BatchReads::WaitFor(int count) {
    io_uring* uring = &ring->uring;
    for (int done = 0; done < count;) {
        if (const unsigned ready = io_uring_cq_ready(uring); ready > 0) {
            io_uring_cq_advance(uring, ready);
            done += static_cast<int>(ready);
            continue;
        }
        io_uring_cqe* completion = nullptr;
        if (const int error = io_uring_wait_cqe(uring, &completion); error < 0 && error != -EINTR) {
            return false;
        }
    }
    return true;
}

#else

struct BatchReads::Ring {};

BatchReads::BatchReads() = default;
BatchReads::~BatchReads() = default;

std::size_t BatchReads::ReadStarts(std::span<const int>) {
    return 0;
}

#endif

}  // namespace rizo
