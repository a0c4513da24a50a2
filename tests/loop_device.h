// SPDX-License-Identifier: MIT
// A loop device over a file of the test's own bytes, detached when the test ends however it ends.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/temp_folder.h"

namespace rizo::test {

// What `command` writes to standard output, run with /bin/sh.
inline std::string CommandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, got);
        }
        ::pclose(pipe);
    }
    return output;
}

// Attaching needs root and the kernel's loop devices (/dev/loop-control); where either is
// lacking Path() is empty, and the test skips with kNoLoopDevice.
class LoopDevice {
public:
    // `bytes` should fill whole 512-byte sectors: the device ends at the last whole one.
    explicit LoopDevice(const std::string& bytes) : image(folder.File("image", bytes)) {
        path = CommandOutput("losetup --find --show " + Quoted(image) + " 2>/dev/null");
        while (!path.empty() && path.back() == '\n') {
            path.pop_back();
        }
    }
    ~LoopDevice() {
        if (!path.empty()) {
            [[maybe_unused]] const int status = std::system(("losetup -d " + Quoted(path)).c_str());
        }
    }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    // The device, as /dev/loopN.
    const std::string& Path() const { return path; }
    // The file the device shows.
    const std::string& Image() const { return image; }

private:
    TempFolder folder;
    const std::string image;
    std::string path;
};

inline constexpr char kNoLoopDevice[] =
    "losetup cannot attach a loop device here: root and /dev/loop-control are needed";

}  // namespace rizo::test
