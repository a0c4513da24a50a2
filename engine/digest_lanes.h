// SPDX-License-Identifier: MIT
// Digests of one block computed in parallel: the enabled digests spread over two lanes by cost, one
// digested on a helper thread and one on the caller's, so a batch needs one helper however many
// digests it computes.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>

#include "base/digest_kind.h"
#include "engine/lane_workers.h"

namespace rizo {

class DigestLanes {
public:
    // One bit each, in DigestKind order; a set of them is planned and fed in the order of their
    // bits.
    enum Digest : unsigned {
        kMd5 = 1,
        kSha1 = 2,
        kCrc32 = 4,
        kSha256 = 8,
        kSha224 = 16,
        kSha384 = 32,
        kSha512 = 64,
        kBlake2b = 128,
        kXxh64 = 256,
        kXxh3 = 512,
        kXxh128 = 1024,
    };
    static constexpr unsigned kDigestCount = 11;
    static constexpr Digest BitOf(DigestKind kind) {
        return static_cast<Digest>(1u << static_cast<unsigned>(kind));
    }
    // Feeds one block to one digest; false when that digest could not take it.
    using Feeder = std::function<bool(Digest digest, const unsigned char* data, std::size_t count)>;

    explicit DigestLanes(Feeder feeder) : feed(std::move(feeder)) {}

    // Lanes of several engines may share helpers: an engine whose block finds them busy with
    // another's digests it all itself, so the helpers a batch has are bounded however many files
    // are read at once.
    void Share(std::shared_ptr<LaneWorkers> helpers) { workers = std::move(helpers); }

    // Spreads a set of Digest bits over the lanes, the costliest first onto the lighter lane.
    void Plan(unsigned digests);
    // Worth a helper: two lanes have work and the block is big enough to repay waking them.
    bool Worthwhile(std::size_t count) const;

    // Feeds every planned digest on the caller's thread.
    bool FeedAll(const unsigned char* data, std::size_t count) const;
    // Starts the helper's lane and returns at once, so the caller can read the next piece; the
    // block must stay unchanged until Wait returns. False, with nothing fed, when the helper cannot
    // be had or is busy.
    bool Start(const unsigned char* data, std::size_t count);
    // Digests the caller's lane, then waits for the helper's. True when every digest took the
    // block.
    bool Wait();

private:
    bool FeedLane(unsigned digests, const unsigned char* data, std::size_t count) const;

    Feeder feed;
    unsigned planned = 0;
    std::array<unsigned, 2> lanes{};
    const unsigned char* block = nullptr;
    std::size_t blockSize = 0;
    bool helperFed = false;
    std::shared_ptr<LaneWorkers> workers = std::make_shared<LaneWorkers>();
};

}  // namespace rizo
