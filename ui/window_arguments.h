// SPDX-License-Identifier: MIT
// The window program's command line: its own options, Qt's, and the files and folders to add.
#pragma once

#include <string>
#include <vector>

namespace rizo {

struct WindowArguments {
    bool help = false;
    bool version = false;
    // The paths are checksum files whose listed files are checked, whatever their names.
    bool verify = false;
    // Why the command line is not understood; empty when it is.
    std::string error;
    // The files and folders named, made absolute, in their order, to be added as a drop of them
    // (or verified).
    std::vector<std::string> paths;
    // The value of Qt's -platform option; empty without one.
    std::string platform;
};

// Reads the arguments after the program name. Qt's own options (-style NAME, -platform NAME and
// the like) are passed over, so QApplication can take them; any other option is an error.
WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments);

extern const char kWindowUsageText[];
extern const char kWindowVersionText[];

}  // namespace rizo
