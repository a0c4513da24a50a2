// SPDX-License-Identifier: MIT
// The files named on the command line, with folders expanded by -r.
#include "cli/command_paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "cli/cli_batch.h"

namespace rizo {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

CommandPaths::CommandPaths(std::vector<std::string> argumentList, bool walkFolders)
    : arguments(std::move(argumentList)), recursive(walkFolders) {}

bool CommandPaths::Next(std::string& path) {
    std::lock_guard guard(lock);
    for (;;) {
        if (walk != nullptr) {
            const bool found = walk->Next(path);
            for (ScanFailure& failure : std::exchange(walkFailures, {})) {
                failures.push_back({given, std::move(failure)});
            }
            if (found) {
                ++given;
                return true;
            }
            walk.reset();
        }
        if (nextArgument == arguments.size()) {
            return false;
        }
        const std::string& argument = arguments[nextArgument++];
        // "-" is standard input, whatever lies in the current folder under that name.
        if (!recursive || argument == kStandardInputName || !IsFolder(argument)) {
            path = argument;
            ++given;
            return true;
        }
        walk = std::make_unique<FolderWalk>(argument, walkFailures);
    }
}

std::vector<CommandPaths::Failure> CommandPaths::TakeFailures(std::size_t files) {
    std::lock_guard guard(lock);
    const auto end = std::find_if(failures.begin(), failures.end(), [files](const Failure& each) {
        return each.filesBefore > files;
    });
    std::vector<Failure> taken(std::make_move_iterator(failures.begin()),
                               std::make_move_iterator(end));
    failures.erase(failures.begin(), end);
    return taken;
}

}  // namespace rizo
