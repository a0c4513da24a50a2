// SPDX-License-Identifier: MIT
// The folders that hold the system's device nodes, which folder scans never enter.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <vector>

namespace rizo {

// /dev, and every file system mounted on or below it (/dev/shm, /dev/pts, /dev/mqueue): a scan
// that entered them would find disks to read whole, terminals that wait and files that are no
// user's data. Taken once, when made, from the process's mount table.
class DeviceFolders {
public:
    DeviceFolders();

    // Whether the folder whose status is `folder` lies in /dev.
    bool Hold(const struct stat& folder) const;

private:
    dev_t devDevice = 0;
    ino_t devInode = 0;
    bool devFound = false;
    // The file systems mounted on or below /dev.
    std::vector<dev_t> mounted;
};

}  // namespace rizo
