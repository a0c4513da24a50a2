// SPDX-License-Identifier: MIT
// Small files of a batch hashed ahead on two cores, handed back in queue order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/file_entry.h"
#include "engine/digest_engine.h"

namespace rizo {

// The queue is cut into chunks of consecutive files. The batch's thread hashes the chunk it is in
// itself, live; a helper thread with an engine of its own claims the next chunks and hashes their
// small files ahead. When the batch's thread reaches a file the helper is still on, it claims a
// chunk further ahead instead of waiting, so both cores stay busy and seldom wake each other.
// Files nobody hashes ahead (large ones, standard input) wait for the batch's thread, whose lanes
// give a large file both cores anyway.
class HashAhead {
public:
    struct Result {
        FileEntry entry;
        // The file was opened: its progress messages are owed, one per step, then a last one.
        bool opened = false;
        // The progress values the batch's thread would have reported while reading it.
        std::vector<float> steps;
    };
    // Fills `result` for queue entry `index` with `engine`; false, with the engine closed, when
    // the file is to be hashed live by the batch's thread instead.
    using Hasher = std::function<bool(DigestEngine& engine, std::size_t index, Result& result)>;

    static constexpr std::size_t kChunk = 16;
    // How far, in files, anyone may hash ahead of the batch's thread.
    static constexpr std::size_t kWindow = 256;

    HashAhead(std::shared_ptr<DigestEngine> helperEngine, std::size_t fileCount, Hasher hasher);
    // Ends the helper after the file it is on.
    ~HashAhead();
    HashAhead(const HashAhead&) = delete;
    HashAhead& operator=(const HashAhead&) = delete;

    // Starts the helper; without a thread the batch's thread hashes every file itself.
    void Start();
    // Called by the batch's thread for each index in order: true with `result` when the file was
    // hashed ahead, false when the caller hashes it now. `own` hashes chunks ahead meanwhile.
    bool Take(std::size_t index, DigestEngine& own, Result& result);

private:
    enum class SlotState { kHashing, kDone, kLeft };
    enum class Owner { kLive, kAhead };
    struct Slot {
        SlotState state = SlotState::kHashing;
        Result result;
    };

    void Main();
    // After the batch's thread has moved on to `index`.
    void RoomMade(std::size_t index);
    // Under lock: claims the next chunk when it fits in the window; returns its first index.
    bool ClaimAhead(std::size_t& first);
    // Hashes the files of the chunk at `first` into their slots, the lock released meanwhile.
    void HashChunk(std::unique_lock<std::mutex>& guard, DigestEngine& reader, std::size_t first);

    const std::shared_ptr<DigestEngine> engine;
    const std::size_t count;
    const Hasher hash;

    std::mutex lock;
    std::condition_variable changed;
    // The first chunk nobody has claimed, and the index the batch's thread is on.
    std::size_t nextChunk = 0;
    std::size_t position = 0;
    bool quit = false;
    // Index i lives in ring[i % kWindow] from its chunk's claim until the caller takes it; chunk c
    // is owned as owners[c % (kWindow / kChunk)] says.
    std::vector<Slot> ring;
    std::vector<Owner> owners;
    std::thread thread;
};

}  // namespace rizo
