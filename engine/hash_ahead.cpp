// SPDX-License-Identifier: MIT
// Small files of a batch hashed ahead on two cores.
#include "engine/hash_ahead.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace rizo {

HashAhead::HashAhead(std::shared_ptr<DigestEngine> helperEngine, std::size_t fileCount,
                     Hasher hasher)
    : engine(std::move(helperEngine)),
      count(fileCount),
      hash(std::move(hasher)),
      ring(kWindow),
      owners(kWindow / kChunk) {}

HashAhead::~HashAhead() {
    {
        std::lock_guard guard(lock);
        quit = true;
    }
    changed.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void HashAhead::Start() {
    try {
        thread = std::thread(&HashAhead::Main, this);
    } catch (const std::system_error&) {
        // The batch's thread hashes every file itself.
    }
}

bool HashAhead::Take(std::size_t index, DigestEngine& own, Result& result) {
    std::unique_lock guard(lock);
    position = index;
    for (;;) {
        const std::size_t chunk = index / kChunk;
        if (chunk >= nextChunk) {
            nextChunk = chunk + 1;
            owners[chunk % owners.size()] = Owner::kLive;
        }
        if (owners[chunk % owners.size()] == Owner::kLive) {
            guard.unlock();
            RoomMade(index);
            return false;
        }
        Slot& slot = ring[index % kWindow];
        if (slot.state != SlotState::kHashing) {
            const bool done = slot.state == SlotState::kDone;
            if (done) {
                result = std::move(slot.result);
            }
            guard.unlock();
            RoomMade(index);
            return done;
        }
        if (std::size_t first = 0; ClaimAhead(first)) {
            HashChunk(guard, own, first);
        } else {
            changed.wait(guard);
        }
    }
}

void HashAhead::RoomMade(std::size_t index) {
    // Room for one more chunk in the window opens at each chunk boundary, and only then is the
    // helper worth waking.
    if (index % kChunk == 0) {
        changed.notify_all();
    }
}

bool HashAhead::ClaimAhead(std::size_t& first) {
    first = nextChunk * kChunk;
    if (quit || first >= count || first + kChunk > position + kWindow) {
        return false;
    }
    owners[nextChunk % owners.size()] = Owner::kAhead;
    ++nextChunk;
    for (std::size_t i = first; i < first + kChunk; ++i) {
        ring[i % kWindow].state = SlotState::kHashing;
    }
    return true;
}

void HashAhead::HashChunk(std::unique_lock<std::mutex>& guard, DigestEngine& reader,
                          std::size_t first) {
    const std::size_t end = std::min(first + kChunk, count);
    for (std::size_t i = first; i < end && !quit; ++i) {
        guard.unlock();
        Result result;
        const bool done = hash(reader, i, result);
        guard.lock();
        Slot& slot = ring[i % kWindow];
        slot.state = done ? SlotState::kDone : SlotState::kLeft;
        slot.result = std::move(result);
        changed.notify_all();
    }
}

void HashAhead::Main() {
    std::unique_lock guard(lock);
    while (!quit) {
        if (std::size_t first = 0; ClaimAhead(first)) {
            HashChunk(guard, *engine, first);
        } else {
            changed.wait(guard);
        }
    }
}

}  // namespace rizo
