// SPDX-License-Identifier: MIT
// The digest engines of a batch's workers, kept from one batch to the next.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "engine/digest_engine.h"
#include "engine/lane_workers.h"

namespace rizo {

class EngineSet {
public:
    // Makes an engine with its digest service acquired; null when none can be had.
    using Maker = std::function<std::unique_ptr<DigestEngine>()>;

    explicit EngineSet(Maker maker) : make(std::move(maker)) {}

    // The engines for a batch of `files` files: one a core, as each worker hashes whole files,
    // and no more than files. All share one lane helper, so that a single large file
    // still spreads its digests over the cores. Empty when an engine cannot be made.
    std::vector<std::shared_ptr<DigestEngine>> For(std::size_t files);
    // The lane helper the engines share, free for other work between their rounds.
    std::shared_ptr<LaneWorkers> Helper() const { return lanes; }
    // Forgets the engines, which workers left blocked in a read still hold: the next batch gets
    // new ones.
    void Drop();

private:
    Maker make;
    std::vector<std::shared_ptr<DigestEngine>> engines;
    std::shared_ptr<LaneWorkers> lanes = std::make_shared<LaneWorkers>();
};

}  // namespace rizo
