// SPDX-License-Identifier: MIT
// Small files of a batch brought into memory ahead of the hashers while they are found not to be.
#pragma once

#include <sys/stat.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
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

    // Gives the path of queue entry `index`, false past the last; called from the readers.
    using PathLookup = std::function<bool(std::size_t index, std::string& path)>;

    explicit ReadAhead(PathLookup lookup);
    // Ends the readers after the files they are on.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // A file read ahead, still open, with its status taken with DigestEngine::kStatusMask.
    struct Opened {
        int fd = -1;
        struct ::statx info {};
    };
    // Files kept open for the workers, or being read, at most: well below a process's usual limit
    // of 1,024 descriptors. Readers wait for the workers to take some before they read further.
    static constexpr std::size_t kKeptOpen = 128;

    // Starts the first reader; without one nothing is read ahead.
    void Start();
    // Queue entry `index` if a reader has it open: the caller takes the descriptor over, so the
    // file is opened and examined once. None when it was not read ahead, or not kept open. A file
    // being read ahead is waited for: its bytes are on their way.
    std::optional<Opened> Take(std::size_t index);
    // A worker has begun queue entry `index`.
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
    // Records what a reader found of `index`, which is no longer in flight.
    void Record(std::size_t index, Found found);
    // Keeps `opened` for the worker that reaches `index`.
    void Keep(std::size_t index, const Opened& opened);
    void RecordMany(std::size_t read, std::size_t inMemory);
    void StartReading();
    // Without a ring (none to be had, or one that retired) reads in flight take reader threads.
    void AddReadersWithoutRing();
    void AddReader();

    const PathLookup pathOf;
    // The number of entries, once a lookup has found the end.
    std::size_t count = kNone;

    std::mutex lock;
    std::condition_variable changed;
    bool quit = false;
    bool sampling = true;
    // The first file no worker has begun, and the next a reader claims.
    std::size_t position = 0;
    std::size_t next = 0;
    // A large file the readers wait behind until the batch's thread has passed it.
    std::size_t barrier = kNone;
    std::size_t findsInMemory = 0;
    std::size_t waiting = 0;
    // Made when reading starts; used by the first reader alone, the only one then.
    std::unique_ptr<BatchReads> batchReads;
    std::vector<std::thread> readers;
    std::unordered_map<std::size_t, Opened> kept;
    // Claimed by a reader and not yet recorded; Take waits for those.
    std::unordered_set<std::size_t> inFlight;
    std::condition_variable landed;
};

}  // namespace rizo
