// SPDX-License-Identifier: MIT
// The files under a folder, one at a time in byte order of their paths, for -r.
#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "filelist/device_folders.h"
#include "filelist/folder_scan.h"

namespace rizo {

// Walks depth first, holding the sorted listing of each folder on the way down and nothing of the
// files already handed out, so a million files cost the names of one folder, not of all. Files are
// named below the folder as it was given. What is included is what the window's folder scan
// includes: every entry that is neither a folder nor a device, each real folder entered once
// whichever links lead to it, /dev never.
class FolderWalk {
public:
    // The folders that cannot be listed are appended to `failures` as the walk meets them.
    FolderWalk(const std::string& folder, std::vector<ScanFailure>& failures);

    // The next path; false at the end.
    bool Next(std::string& path);

private:
    struct Level {
        std::string prefix;  // ends with '/'
        // Sorted; a folder's name ends with '/', which puts it where its files belong in byte
        // order ("b.txt" before "b/c").
        std::vector<std::string> names;
        std::size_t next = 0;
    };

    void Enter(std::string prefix);

    std::vector<ScanFailure>& failed;
    std::vector<Level> levels;
    std::set<std::pair<dev_t, ino_t>> entered;
    const DeviceFolders deviceFolders;
};

}  // namespace rizo
