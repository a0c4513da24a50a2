// SPDX-License-Identifier: MIT
// The files named on the command line, with folders expanded by -r.
#include "cli/command_paths.h"

#include <sys/stat.h>

#include "cli/cli_batch.h"
#include "cli/folder_walk.h"

namespace rizo {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

void ForEachCommandPath(const std::string& argument, bool recursive, const PathTaker& take,
                        std::vector<ScanFailure>& failures) {
    // "-" is standard input, whatever lies in the current folder under that name.
    if (!recursive || argument == kStandardInputName || !IsFolder(argument)) {
        take(argument);
        return;
    }
    FolderWalk walk(argument, failures);
    for (std::string path; walk.Next(path) && take(std::move(path));) {
    }
}

}  // namespace rizo
