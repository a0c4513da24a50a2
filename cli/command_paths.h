// SPDX-License-Identifier: MIT
// The files named on the command line, with folders expanded by -r.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/folder_walk.h"
#include "filelist/folder_scan.h"

namespace rizo {

// Gives the files to hash for the command line's arguments, one at a time, walking folders as it
// goes so that a million files are never held at once. With `recursive` a folder stands for every
// file under it, named below the folder as it was given and in byte order of the paths, so the
// output can be compared between runs. Anything else, a folder without `recursive` included, is
// hashed as named and fails there if it must; "-" is always standard input. Safe to use from two
// threads: one taking paths, one taking the failures.
class CommandPaths {
public:
    struct Failure {
        // How many files were given before the folder failed.
        std::size_t filesBefore = 0;
        ScanFailure failure;
    };

    CommandPaths(std::vector<std::string> arguments, bool recursive);

    // The next file; false after the last.
    bool Next(std::string& path);
    // The folders that could not be listed before `files` files were given, each once.
    std::vector<Failure> TakeFailures(std::size_t files);

private:
    const std::vector<std::string> arguments;
    const bool recursive;
    std::size_t nextArgument = 0;
    std::size_t given = 0;
    std::unique_ptr<FolderWalk> walk;
    std::mutex lock;
    std::vector<ScanFailure> walkFailures;
    std::vector<Failure> failures;
};

}  // namespace rizo
