// SPDX-License-Identifier: MIT
// Recursive collection of the files under a folder, for Add Folder and dropped folders.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace rizo {

// A folder that a scan could not list, and the errno that says why.
struct ScanFailure {
    std::string path;
    int errorNumber = 0;
};

// Lets another thread follow a scan and end it early.
struct ScanControl {
    std::atomic<bool> cancelled = false;
    std::atomic<std::size_t> found = 0;
};

// Appends the path of every entry under `folder` that is neither a folder nor a device (files,
// links to files, FIFOs, sockets, hidden names alike) to `pendingPaths`, depth first in the order
// the platform lists them, each named below `folder` as it is given. Every real folder (device and
// inode) is entered once, whichever links lead to it, so link loops and link fan-outs end; /dev
// and the file systems mounted below it are never entered (DeviceFolders).
// Returns the folders that could not be listed: no access, gone meanwhile, or a path that
// reaches the platform's limit (ENAMETOOLONG). With `control` each path found is counted, and
// once it is cancelled the scan ends within one folder listing, adding no more.
[[nodiscard]] std::vector<ScanFailure> ScanFolder(const std::string& folder,
                                                  std::vector<std::string>& pendingPaths,
                                                  ScanControl* control = nullptr);

}  // namespace rizo
