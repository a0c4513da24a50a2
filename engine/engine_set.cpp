// SPDX-License-Identifier: MIT
// The digest engines of a batch's workers.
#include "engine/engine_set.h"

#include <algorithm>
#include <thread>

namespace rizo {

std::vector<std::shared_ptr<DigestEngine>> EngineSet::For(std::size_t files) {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t wanted = std::max<std::size_t>(1, std::min(cores, files));
    while (engines.size() < wanted) {
        std::unique_ptr<DigestEngine> engine = make();
        if (engine == nullptr) {
            return {};
        }
        engine->ShareLanes(lanes);
        engines.push_back(std::move(engine));
    }
    return {engines.begin(), engines.begin() + static_cast<std::ptrdiff_t>(wanted)};
}

void EngineSet::Drop() {
    engines.clear();
    lanes = std::make_shared<LaneWorkers>();
}

}  // namespace rizo
