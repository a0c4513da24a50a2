// SPDX-License-Identifier: MIT
// The size of a block device, which its status does not give.
#include "engine/block_device.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace rizo {

std::optional<uint64_t> BlockDeviceSize(int fd) {
    uint64_t size = 0;
    if (::ioctl(fd, BLKGETSIZE64, &size) != 0) {
        return std::nullopt;
    }
    return size;
}

std::optional<uint64_t> BlockDeviceSizeAt(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    const std::optional<uint64_t> size = BlockDeviceSize(fd);
    ::close(fd);
    return size;
}

}  // namespace rizo
