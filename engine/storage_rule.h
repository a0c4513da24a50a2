// SPDX-License-Identifier: MIT
// Whether a batch may read several files at once, from the storage a file lives on.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace rizo {

// Reads of several files at once keep the queues of an SSD or NVMe drive busy and cost nothing on
// files in the page cache. A spinning disk turns them into seeks, and a network file system serves
// them through one connection, so there one file at a time is faster. The answer is kept per
// device: it does not change during a batch. Thread-safe.
class StorageRule {
public:
    // "0" forces one file at a time everywhere, "1" several everywhere; anything else, or unset,
    // leaves the decision to the storage.
    static constexpr const char* kForceVariable = "RIZODIDIZ_PARALLEL_FILES";

    // Reads kForceVariable now: a rule keeps the forcing it was made with. `sysfs` is where sysfs
    // is mounted; tests give a tree of their own.
    explicit StorageRule(std::string sysfs = "/sys");
    StorageRule(const StorageRule&) = delete;
    StorageRule& operator=(const StorageRule&) = delete;

    // Whether other files may be read while the open file `fd` is. A file whose device cannot be
    // told says yes and is not remembered.
    bool ParallelReads(int fd);
    // The same for an open file whose device, `device`, is known already: no status call then.
    bool ParallelReads(int fd, dev_t device);

    // The decision alone, without forcing or memory: files on device `device`, whose file system
    // has the statfs type `fsType`, seen through the sysfs tree under `sysfsRoot`.
    static bool ParallelReadsOn(const std::string& sysfsRoot, dev_t device, unsigned long fsType);

private:
    const std::string sysfsRoot;
    const std::optional<bool> forced;
    std::mutex lock;
    std::unordered_map<dev_t, bool> byDevice;
};

}  // namespace rizo
