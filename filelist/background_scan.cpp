// SPDX-License-Identifier: MIT
// Folder scans on a thread of their own.
#include "filelist/background_scan.h"

#include <system_error>
#include <utility>

namespace rizo {

BackgroundScan::BackgroundScan(Collect collect, std::function<void()> ended) {
    try {
        thread = std::thread([this, collect, ended] { Run(collect, ended); });
    } catch (const std::system_error&) {
        Run(collect, ended);
    }
}

BackgroundScan::~BackgroundScan() {
    Cancel();
    if (thread.joinable()) {
        thread.join();
    }
}

void BackgroundScan::Run(const Collect& collect, const std::function<void()>& ended) {
    failures = collect(paths, control);
    ended();
}

}  // namespace rizo
