// SPDX-License-Identifier: MIT
// The folders that hold the system's device nodes, which folder scans never enter.
#include "filelist/device_folders.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

namespace rizo {

namespace {

constexpr char kDev[] = "/dev";

// Each line of /proc/self/mountinfo: "ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS ...".
std::vector<dev_t> MountedUnderDev() {
    std::vector<dev_t> devices;
    std::ifstream table("/proc/self/mountinfo");
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string id, parent, numbers, root, point;
        unsigned major = 0, minor = 0;
        char colon = 0;
        if (!(fields >> id >> parent >> numbers >> root >> point)) {
            continue;
        }
        std::istringstream pair(numbers);
        if ((point == kDev || point.starts_with("/dev/")) && pair >> major >> colon >> minor &&
            colon == ':') {
            devices.push_back(makedev(major, minor));
        }
    }
    return devices;
}

}  // namespace

DeviceFolders::DeviceFolders() {
    struct stat dev {};
    struct stat top {};
    if (::stat(kDev, &dev) != 0) {
        return;
    }
    devFound = true;
    devDevice = dev.st_dev;
    devInode = dev.st_ino;
    // A /dev bound from the root's own file system would otherwise shut every folder out.
    const bool topKnown = ::stat("/", &top) == 0;
    for (const dev_t device : MountedUnderDev()) {
        if (!topKnown || device != top.st_dev) {
            mounted.push_back(device);
        }
    }
}

bool DeviceFolders::Hold(const struct stat& folder) const {
    if (devFound && folder.st_dev == devDevice && folder.st_ino == devInode) {
        return true;
    }
    return std::find(mounted.begin(), mounted.end(), folder.st_dev) != mounted.end();
}

}  // namespace rizo
