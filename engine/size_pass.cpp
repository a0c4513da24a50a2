// SPDX-License-Identifier: MIT
// The byte total of a batch, summed on the batch's lane helper.
#include "engine/size_pass.h"

#include <sys/stat.h>

#include <algorithm>

#include "engine/block_device.h"

namespace rizo {

SizePass::~SizePass() {
    Finish();
}

void SizePass::Start(std::span<const std::string> paths, std::shared_ptr<LaneWorkers> helper,
                     uint64_t byteLimit) {
    Finish();
    bytes = 0;
    known = false;
    quit = false;
    // The batch runs all the same without a percent.
    if (helper->TryStart({[this, paths, byteLimit] { Run(paths, byteLimit); }})) {
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

void SizePass::Run(std::span<const std::string> paths, uint64_t byteLimit) {
    for (const std::string& path : paths) {
        if (quit.load(std::memory_order_relaxed)) {
            return;
        }
        // A block device's status gives no size; other files without one contribute nothing.
        struct stat info {};
        uint64_t size = 0;
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            size = static_cast<uint64_t>(info.st_size);
        } else if (S_ISBLK(info.st_mode)) {
            size = BlockDeviceSizeAt(path).value_or(0);
        }
        bytes.fetch_add(std::min(size, byteLimit), std::memory_order_relaxed);
    }
    known.store(true, std::memory_order_release);
}

}  // namespace rizo
