// SPDX-License-Identifier: MIT
// Whether a batch may read several files at once, from the storage a file lives on.
#include "engine/storage_rule.h"

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace rizo {

namespace {

namespace fs = std::filesystem;

// Types the kernel's uapi header does not name.
constexpr unsigned long kLustreMagic = 0x0BD00BD0;
constexpr unsigned long kOrangeFsMagic = 0x20030528;

bool IsNetworkFileSystem(unsigned long fsType) {
    // FUSE counts as network: sshfs, rclone, s3fs, GlusterFS and most other FUSE mounts fetch over
    // a network, and a FUSE daemon often serves one request at a time even where it does not.
    for (const unsigned long magic : std::initializer_list<unsigned long>{
             NFS_SUPER_MAGIC, SMB_SUPER_MAGIC, CIFS_SUPER_MAGIC, SMB2_SUPER_MAGIC, CEPH_SUPER_MAGIC,
             AFS_SUPER_MAGIC, AFS_FS_MAGIC, V9FS_MAGIC, CODA_SUPER_MAGIC, NCP_SUPER_MAGIC,
             FUSE_SUPER_MAGIC, kLustreMagic, kOrangeFsMagic}) {
        if (fsType == magic) {
            return true;
        }
    }
    return false;
}

std::optional<bool> ReadFlag(const fs::path& path) {
    std::ifstream file(path);
    char first = 0;
    if (!file.get(first)) {
        return std::nullopt;
    }
    return first == '1';
}

// A device with no block device behind it (tmpfs, overlay, btrfs' anonymous devices) has no entry
// and is not rotational. A partition has no queue of its own: its entry links into its disk's
// folder, whose queue tells.
bool IsRotational(const std::string& sysfsRoot, dev_t device) {
    const fs::path entry = fs::path(sysfsRoot) / "dev/block" /
                           (std::to_string(major(device)) + ':' + std::to_string(minor(device)));
    if (const std::optional<bool> own = ReadFlag(entry / "queue/rotational")) {
        return *own;
    }
    std::error_code error;
    const fs::path target = fs::canonical(entry, error);
    if (error) {
        return false;
    }
    return ReadFlag(target.parent_path() / "queue/rotational").value_or(false);
}

std::optional<bool> Forced() {
    const char* value = std::getenv(StorageRule::kForceVariable);
    if (value == nullptr) {
        return std::nullopt;
    }
    const std::string_view text = value;
    if (text == "0" || text == "1") {
        return text == "1";
    }
    return std::nullopt;
}

}  // namespace

StorageRule::StorageRule(std::string sysfs) : sysfsRoot(std::move(sysfs)), forced(Forced()) {}

bool StorageRule::ParallelReads(int fd) {
    struct stat info {};
    return forced ? *forced : ::fstat(fd, &info) != 0 || ParallelReads(fd, info.st_dev);
}

bool StorageRule::ParallelReads(int fd, dev_t device) {
    if (forced) {
        return *forced;
    }
    {
        const std::lock_guard guard(lock);
        if (const auto known = byDevice.find(device); known != byDevice.end()) {
            return known->second;
        }
    }
    struct statfs fsInfo {};
    const unsigned long fsType =
        ::fstatfs(fd, &fsInfo) == 0 ? static_cast<unsigned long>(fsInfo.f_type) : 0;
    // Looked up outside the lock: two threads that both find the device new agree on it.
    const bool parallel = ParallelReadsOn(sysfsRoot, device, fsType);
    const std::lock_guard guard(lock);
    return byDevice.try_emplace(device, parallel).first->second;
}

bool StorageRule::ParallelReadsOn(const std::string& sysfsRoot, dev_t device,
                                  unsigned long fsType) {
    return !IsNetworkFileSystem(fsType) && !IsRotational(sysfsRoot, device);
}

}  // namespace rizo
