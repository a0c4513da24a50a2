// The first bytes of many open files read together through io_uring.
#pragma once

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

    bool Ready() const { return ring != nullptr; }
    // Reads the start of each of at most kDepth open files and waits for all of them. Returns
    // how many were served at once, from memory.
    std::size_t ReadStarts(std::span<const int> files);

private:
    struct Ring;
    std::unique_ptr<Ring> ring;
};

}  // namespace rizo
