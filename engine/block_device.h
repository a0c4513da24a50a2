// SPDX-License-Identifier: MIT
// The size of a block device (a disk, a USB stick, a loop device), which its status does not give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rizo {

// The device's size in bytes, asked of its driver: a block device's status reports size 0.
// None when the driver does not answer.
std::optional<uint64_t> BlockDeviceSize(int fd);
// The same for the device at `path`, opened for the question alone; none when it cannot be.
std::optional<uint64_t> BlockDeviceSizeAt(const std::string& path);

}  // namespace rizo
