// SPDX-License-Identifier: MIT
// Folder scans on a thread of their own, so adding a large folder keeps the window responsive.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "filelist/folder_scan.h"

namespace rizo {

class BackgroundScan {
public:
    // Collects paths into `paths` as ScanFolder or CollectDroppedItems do, under `control`.
    using Collect = std::function<std::vector<ScanFailure>(std::vector<std::string>& paths,
                                                           ScanControl& control)>;

    // Runs `collect` on a thread of its own and then `ended`, on that thread. Without a thread it
    // runs both at once on the caller's.
    BackgroundScan(Collect collect, std::function<void()> ended);
    // Cancels a scan still running and waits for it, which is at most one folder listing.
    ~BackgroundScan();
    BackgroundScan(const BackgroundScan&) = delete;
    BackgroundScan& operator=(const BackgroundScan&) = delete;

    // Any thread.
    void Cancel() { control.cancelled = true; }
    bool Cancelled() const { return control.cancelled; }
    std::size_t Found() const { return control.found.load(std::memory_order_relaxed); }

    // Once `ended` has run: what was found, and the folders that could not be listed.
    std::vector<std::string>& Paths() { return paths; }
    const std::vector<ScanFailure>& Failures() const { return failures; }

private:
    void Run(const Collect& collect, const std::function<void()>& ended);

    ScanControl control;
    std::vector<std::string> paths;
    std::vector<ScanFailure> failures;
    std::thread thread;
};

}  // namespace rizo
