// SPDX-License-Identifier: MIT
// The byte total of a batch, summed on the batch's lane helper.
#include "engine/size_pass.h"

#include <sys/stat.h>

namespace rizo {

SizePass::~SizePass() {
    Finish();
}

void SizePass::Start(std::span<const std::string> paths, std::shared_ptr<LaneWorkers> helper) {
    Finish();
    bytes = 0;
    known = false;
    quit = false;
    // The batch runs all the same without a percent.
    if (helper->TryStart({[this, paths] { Run(paths); }})) {
        lane = std::move(helper);
    }
}

void SizePass::Finish() {
    quit = true;
    // Waits at most for a digest round that followed the pass: one piece.
    if (lane != nullptr) {
        lane->Wait();
        lane.reset();
    }
}

void SizePass::Run(std::span<const std::string> paths) {
    for (const std::string& path : paths) {
        if (quit.load(std::memory_order_relaxed)) {
            return;
        }
        // The hasher reads regular files only; anything else contributes nothing.
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            bytes.fetch_add(static_cast<uint64_t>(info.st_size), std::memory_order_relaxed);
        }
    }
    known.store(true, std::memory_order_release);
}

}  // namespace rizo
