// The files named on the command line, with folders expanded by -r.
#include "cli/command_paths.h"

#include <sys/stat.h>

#include <algorithm>

namespace rizo {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

void AppendCommandPath(const std::string& argument, bool recursive, std::vector<std::string>& files,
                       std::vector<ScanFailure>& failures) {
    if (!recursive || !IsFolder(argument)) {
        files.push_back(argument);
        return;
    }
    const std::size_t start = files.size();
    std::vector<ScanFailure> found = ScanFolder(argument, files);
    failures.insert(failures.end(), found.begin(), found.end());
    std::sort(files.begin() + static_cast<std::ptrdiff_t>(start), files.end());
}

}  // namespace rizo
