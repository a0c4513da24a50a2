// SPDX-License-Identifier: MIT
// Small files of a batch brought into memory ahead of the hashers while they are found not to be.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "engine/batch_reads.h"

namespace rizo {

// A small file that is not in memory costs a round trip to storage, not digest work, and a hasher
// waits on one round trip at a time. Read ahead, in queue order just ahead of the batch's thread,
// many such files are on their way at once, and the hashers find their bytes in memory. Only the
// page cache is filled: results, their order and Stop stay where they were.
//
// How deep: BatchReads::kDepth files submitted together through io_uring, or without it kReaders
// reader threads with one read each; in either case no further than kFilesAhead files past the
// batch's thread. That is enough to keep storage that serves requests in parallel busy and still
// a queue that a disk's elevator sorts. A large file is not read ahead: the kernel's own read-ahead
// streams it, and nothing past it is read until the batch's thread has finished it, so a spinning
// disk serves that file alone. While the files turn out to be in memory, one reader only samples
// every kSampleStride-th file, so warm files cost next to nothing.
class ReadAhead {
public:
    enum class Found {
        kInMemory,  // its bytes were in memory already
        kFetched,   // read from storage
        kLarge,     // left to the hasher and the kernel's read-ahead
        kNothing,   // nothing to read: missing, empty, or not a regular file
    };

    static constexpr std::size_t kReaders = 16;
    static constexpr std::size_t kFilesAhead = 512;
    static constexpr std::size_t kSampleStride = 16;
    // In-memory finds in a row that send the readers back to sampling.
    static constexpr std::size_t kFindsToRest = 64;
    // The largest file read ahead.
    static constexpr uint64_t kLargest = 256 * 1024;

    // `paths` must outlive this; only the first `count` are read ahead.
    ReadAhead(const std::vector<std::string>& paths, std::size_t count);
    // Ends the readers after the files they are on.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Starts the first reader; without one nothing is read ahead.
    void Start();
    // The batch's thread has begun queue entry `index`.
    void Reached(std::size_t index);

private:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    using Guard = std::unique_lock<std::mutex>;

    void Main();
    void ReadOne(Guard& guard, std::span<char> buffer);
    void ReadMany(Guard& guard);
    // The rest under lock. Whether a reader may claim `next`, moved up to the batch's thread.
    bool Claimable();
    std::size_t Claim();
    void Record(std::size_t index, Found found);
    void RecordMany(std::size_t read, std::size_t inMemory);
    void StartReading();
    // Without a ring (none to be had, or one that retired) reads in flight take reader threads.
    void AddReadersWithoutRing();
    void AddReader();

    const std::vector<std::string>& queue;
    const std::size_t count;

    std::mutex lock;
    std::condition_variable changed;
    bool quit = false;
    bool sampling = true;
    std::size_t position = 0;
    std::size_t next = 0;
    // A large file the readers wait behind until the batch's thread has passed it.
    std::size_t barrier = kNone;
    std::size_t findsInMemory = 0;
    std::size_t waiting = 0;
    // Made when reading starts; used by the first reader alone, the only one then.
    std::unique_ptr<BatchReads> batchReads;
    std::vector<std::thread> readers;
};

}  // namespace rizo
