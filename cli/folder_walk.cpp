// SPDX-License-Identifier: MIT
// The files under a folder, one at a time in byte order of their paths, for -r.
#include "cli/folder_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "filelist/folder_entry.h"

namespace rizo {

FolderWalk::FolderWalk(const std::string& folder, std::vector<ScanFailure>& failures)
    : failed(failures) {
    if (!folder.empty()) {
        Enter(folder.back() == '/' ? folder : folder + '/');
    }
}

void FolderWalk::Enter(std::string prefix) {
    // A folder is named without its slash, as the window's scan names it.
    const auto fail = [this](const std::string& path, int error) {
        failed.push_back({path.size() > 1 ? path.substr(0, path.size() - 1) : path, error});
    };
    // Names below a folder whose path fills the limit could not be opened either.
    if (prefix.size() >= PATH_MAX) {
        fail(prefix, ENAMETOOLONG);
        return;
    }
    struct stat info {};
    if (::stat(prefix.c_str(), &info) != 0) {
        fail(prefix, errno);
        return;
    }
    if (deviceFolders.Hold(info) || !entered.insert({info.st_dev, info.st_ino}).second) {
        return;
    }
    DIR* dir = ::opendir(prefix.c_str());
    if (dir == nullptr) {
        fail(prefix, errno);
        return;
    }
    Level level{std::move(prefix), {}, 0};
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsDotEntry(entry->d_name)) {
            std::string name = entry->d_name;
            const EntryKind kind = KindOf(*entry, level.prefix + name);
            if (kind == EntryKind::kFolder) {
                name += '/';
            }
            if (kind != EntryKind::kDevice) {
                level.names.push_back(std::move(name));
            }
        }
        errno = 0;
    }
    if (errno != 0) {
        fail(level.prefix, errno);
    }
    ::closedir(dir);
    std::sort(level.names.begin(), level.names.end());
    levels.push_back(std::move(level));
}

bool FolderWalk::Next(std::string& path) {
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.names.size()) {
            levels.pop_back();
            continue;
        }
        std::string found = level.prefix + level.names[level.next++];
        if (found.back() == '/') {
            Enter(std::move(found));
            continue;
        }
        path = std::move(found);
        return true;
    }
    return false;
}

}  // namespace rizo
