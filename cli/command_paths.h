// SPDX-License-Identifier: MIT
// The files named on the command line, with folders expanded by -r.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "filelist/folder_scan.h"

namespace rizo {

// Takes one file to hash; false to take no more.
using PathTaker = std::function<bool(std::string path)>;

// Hands over the files to hash for one command-line argument, one at a time. With `recursive` a
// folder stands for every file under it, named below the folder as it was given and in byte
// order of the paths, so the output can be compared between runs; the folders that cannot be
// listed are appended to `failures`. Anything else, a folder without `recursive` included, is
// hashed as named and fails there if it must; "-" is always standard input.
void ForEachCommandPath(const std::string& argument, bool recursive, const PathTaker& take,
                        std::vector<ScanFailure>& failures);

}  // namespace rizo
