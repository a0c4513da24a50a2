// The files named on the command line, with folders expanded by -r.
#include "cli/command_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "filelist/folder_scan.h"

namespace rizo {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The scan names files by the folder's absolute path; they are shown under the name given.
void RenameBelow(const std::string& folder, std::vector<std::string>::iterator first,
                 std::vector<std::string>::iterator last) {
    std::error_code failed;
    const std::string scanned =
        WithSlash(std::filesystem::absolute(folder, failed).lexically_normal().native());
    const std::string given = WithSlash(folder);
    for (auto it = first; it != last; ++it) {
        if (!failed && it->starts_with(scanned)) {
            *it = given + it->substr(scanned.size());
        }
    }
}

}  // namespace

bool AppendCommandPath(const std::string& argument, bool recursive, std::vector<std::string>& files,
                       std::string& error) {
    if (!recursive || !IsFolder(argument)) {
        files.push_back(argument);
        return true;
    }
    // The scan passes over a folder it cannot read; the one named by the user is reported.
    DIR* dir = ::opendir(argument.c_str());
    if (dir == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    ::closedir(dir);
    const std::size_t start = files.size();
    ScanFolder(argument, files);
    const auto first = files.begin() + static_cast<std::ptrdiff_t>(start);
    RenameBelow(argument, first, files.end());
    std::sort(first, files.end());
    return true;
}

}  // namespace rizo
