// SPDX-License-Identifier: MIT
// The first bytes of many open files read together through io_uring.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <span>

namespace rizo {

// Reads made one call each reach storage as one request each. Submitted together, the kernel
// merges the requests for neighbouring blocks, and files written one after another usually lie
// next to each other: a few requests and interrupts serve many small files. Not ready without
// io_uring (an old kernel, a sandbox that forbids it, a build without liburing).
class BatchReads {
public:
    static constexpr std::size_t kDepth = 64;
    // Bytes read of each file: all of a small one; the kernel's read-ahead takes a larger one on.
    static constexpr std::size_t kSlotSize = 64 * 1024;

    BatchReads();
    ~BatchReads();
    BatchReads(const BatchReads&) = delete;
    BatchReads& operator=(const BatchReads&) = delete;

    // False once a batch could not be submitted whole or waited for: see ReadStarts.
    bool Ready() const { return ring != nullptr && !broken; }
    // Reads the start of each of at most kDepth open files and waits for all of them. Returns
    // how many were served at once, from memory.
    std::size_t ReadStarts(std::span<const int> files);

private:
    struct Ring;
    // Waits for `count` submitted reads to complete; false if waiting fails.
    bool WaitFor(int count);

    std::unique_ptr<Ring> ring;
    std::atomic<bool> broken = false;
};

}  // namespace rizo
