// SPDX-License-Identifier: MIT
// Reads of several files at once by storage: fake sysfs trees, network file systems, forcing.
#include "engine/storage_rule.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "tests/temp_folder.h"

namespace rizo {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;
using test::TempFolder;
using test::WriteText;

constexpr unsigned long kExt4 = EXT4_SUPER_MAGIC;

std::string DeviceName(dev_t device) {
    return std::to_string(major(device)) + ':' + std::to_string(minor(device));
}

// A sysfs tree as the kernel lays it out: block devices under devices/, partitions in their
// disk's folder, and dev/block/MAJ:MIN links to them.
class FakeSysfs {
public:
    // A whole device at `folder` (below devices/) with its own queue.
    void Disk(dev_t device, const std::string& folder, const std::string& rotational) const {
        fs::create_directories(root.Path() + "devices/" + folder + "/queue");
        SetRotational(folder, rotational);
        Link(device, folder);
    }
    // A partition in the folder of its disk, with no queue of its own.
    void Partition(dev_t device, const std::string& folder) const {
        fs::create_directories(root.Path() + "devices/" + folder);
        WriteText(root.Path() + "devices/" + folder + "/partition", "1\n");
        Link(device, folder);
    }
    void SetRotational(const std::string& folder, const std::string& rotational) const {
        WriteText(root.Path() + "devices/" + folder + "/queue/rotational", rotational);
    }
    std::string Root() const { return root.Path(); }

private:
    void Link(dev_t device, const std::string& folder) const {
        fs::create_directories(root.Path() + "dev/block");
        fs::create_directory_symlink("../../devices/" + folder,
                                     root.Path() + "dev/block/" + DeviceName(device));
    }

    TempFolder root;
};

class OpenFile {
public:
    OpenFile() : fd(::open(folder.File("file", "bytes").c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() { ::close(fd); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    dev_t Device() const {
        struct stat info {};
        ::fstat(fd, &info);
        return info.st_dev;
    }

    TempFolder folder;
    const int fd;
};

TEST(StorageRule, SpinningDisksAndTheirPartitionsReadOneFileAtATime) {
    FakeSysfs sysfs;
    const std::string pci = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/";
    sysfs.Disk(makedev(8, 0), pci + "sda", "1\n");
    sysfs.Partition(makedev(8, 1), pci + "sda/sda1");
    sysfs.Disk(makedev(259, 0), "pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1", "0\n");
    sysfs.Partition(makedev(259, 1), "pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1/nvme0n1p1");
    sysfs.Disk(makedev(253, 0), "virtual/block/dm-0", "1\n");
    sysfs.Disk(makedev(7, 0), "virtual/block/loop0", "0\n");
    const struct {
        dev_t device;
        bool parallel;
    } cases[] = {
        {makedev(8, 0), false},  {makedev(8, 1), false},   {makedev(259, 0), true},
        {makedev(259, 1), true}, {makedev(253, 0), false}, {makedev(7, 0), true},
        {makedev(8, 2), true},   // no entry: not a block device the kernel knows
        {makedev(0, 42), true},  // an anonymous device: tmpfs, overlay, btrfs
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StorageRule::ParallelReadsOn(sysfs.Root(), c.device, kExt4), c.parallel)
            << DeviceName(c.device);
    }
}

TEST(StorageRule, NetworkAndFuseFileSystemsReadOneFileAtATimeOnAnyDevice) {
    FakeSysfs sysfs;
    sysfs.Disk(makedev(259, 0), "virtual/block/nvme0n1", "0\n");
    const struct {
        unsigned long fsType;
        bool parallel;
    } cases[] = {
        {NFS_SUPER_MAGIC, false}, {CIFS_SUPER_MAGIC, false}, {SMB2_SUPER_MAGIC, false},
        {SMB_SUPER_MAGIC, false}, {CEPH_SUPER_MAGIC, false}, {AFS_SUPER_MAGIC, false},
        {AFS_FS_MAGIC, false},    {V9FS_MAGIC, false},       {CODA_SUPER_MAGIC, false},
        {NCP_SUPER_MAGIC, false}, {FUSE_SUPER_MAGIC, false}, {kExt4, true},
        {TMPFS_MAGIC, true},      {BTRFS_SUPER_MAGIC, true}, {OVERLAYFS_SUPER_MAGIC, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StorageRule::ParallelReadsOn(sysfs.Root(), makedev(259, 0), c.fsType), c.parallel)
            << std::hex << c.fsType;
        EXPECT_EQ(StorageRule::ParallelReadsOn(sysfs.Root(), makedev(0, 42), c.fsType), c.parallel)
            << std::hex << c.fsType;
    }
}

// The open file's own device, shown as rotational or not by a fake tree, against the variable.
TEST(StorageRule, TheVariableForcesEitherAnswerAndOtherValuesLeaveTheDecision) {
    const OpenFile file;
    FakeSysfs spinning;
    spinning.Disk(file.Device(), "virtual/block/disk", "1\n");
    FakeSysfs solid;
    solid.Disk(file.Device(), "virtual/block/disk", "0\n");
    // Several files at once, unless the temporary folder is on a network or FUSE file system.
    const bool decidedOnSolid = [&] {
        const ScopedEnv unset(StorageRule::kForceVariable, std::nullopt);
        return StorageRule(solid.Root()).ParallelReads(file.fd);
    }();
    const struct {
        std::optional<std::string> value;
        std::optional<bool> forced;
    } cases[] = {
        {"1", true},        {"0", false},        {std::nullopt, std::nullopt},
        {"", std::nullopt}, {"2", std::nullopt}, {"yes", std::nullopt},
    };
    for (const auto& c : cases) {
        const ScopedEnv env(StorageRule::kForceVariable, c.value);
        const std::string shown = c.value.value_or("unset");
        EXPECT_EQ(StorageRule(spinning.Root()).ParallelReads(file.fd), c.forced.value_or(false))
            << shown;
        EXPECT_EQ(StorageRule(solid.Root()).ParallelReads(file.fd),
                  c.forced.value_or(decidedOnSolid))
            << shown;
    }
}

TEST(StorageRule, ADeviceIsExaminedOnceAndItsAnswerKept) {
    const OpenFile file;
    const ScopedEnv env(StorageRule::kForceVariable, std::nullopt);
    FakeSysfs sysfs;
    sysfs.Disk(file.Device(), "virtual/block/disk", "1\n");
    StorageRule rule(sysfs.Root());
    EXPECT_FALSE(rule.ParallelReads(file.fd));
    sysfs.SetRotational("virtual/block/disk", "0\n");
    EXPECT_FALSE(rule.ParallelReads(file.fd));
}

// Several pool threads ask about files on the real storage of this machine at once.
TEST(StorageRule, ThreadsAskingAtOnceGetTheSameAnswerAsOneAlone) {
    const OpenFile file;
    const ScopedEnv env(StorageRule::kForceVariable, std::nullopt);
    const bool alone = StorageRule().ParallelReads(file.fd);
    StorageRule shared;
    std::vector<char> answers(4 * 200);
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                for (std::size_t i = 0; i < 200; ++i) {
                    answers[t * 200 + i] = shared.ParallelReads(file.fd);
                }
            });
        }
    }
    for (const char answer : answers) {
        ASSERT_EQ(answer != 0, alone);
    }
}

}  // namespace
}  // namespace rizo
