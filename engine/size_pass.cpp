// SPDX-License-Identifier: MIT
// The byte total of a batch, summed on a thread of its own.
#include "engine/size_pass.h"

#include <sys/stat.h>

#include <system_error>

namespace rizo {

SizePass::~SizePass() {
    Finish();
}

void SizePass::Start(std::span<const std::string> paths) {
    Finish();
    bytes = 0;
    known = false;
    quit = false;
    try {
        thread = std::thread(&SizePass::Run, this, paths);
    } catch (const std::system_error&) {
        // The batch runs all the same, without a percent.
    }
}

void SizePass::Finish() {
    quit = true;
    if (thread.joinable()) {
        thread.join();
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
