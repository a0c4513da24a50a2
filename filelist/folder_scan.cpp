// SPDX-License-Identifier: MIT
// Recursive collection of the files under a folder, for Add Folder and dropped folders.
#include "filelist/folder_scan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <set>
#include <utility>

#include "filelist/device_folders.h"
#include "filelist/folder_entry.h"

namespace rizo {
namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Entry {
    std::string path;
    bool isFolder;
};

class FolderScan {
public:
    FolderScan(std::vector<std::string>& paths, ScanControl* scanControl)
        : pendingPaths(paths), control(scanControl) {}

    void Scan(const std::string& folder) {
        // Names below a folder whose path fills the limit could not be opened either.
        if (folder.size() + 1 >= PATH_MAX) {
            failures.push_back({folder, ENAMETOOLONG});
            return;
        }
        struct stat info {};
        if (stat(folder.c_str(), &info) != 0) {
            failures.push_back({folder, errno});
            return;
        }
        if (deviceFolders.Hold(info) ||
            !entered.insert(FolderId{info.st_dev, info.st_ino}).second) {
            return;
        }
        for (Entry& entry : ReadEntries(folder)) {
            if (control != nullptr && control->cancelled) {
                return;
            }
            if (entry.isFolder) {
                Scan(entry.path);
            } else {
                pendingPaths.push_back(std::move(entry.path));
                if (control != nullptr) {
                    control->found.fetch_add(1, std::memory_order_relaxed);
                }
            }
        }
    }

    std::vector<ScanFailure> failures;

private:
    // Reads the whole listing before descending, so a deep tree holds one open folder at a time.
    std::vector<Entry> ReadEntries(const std::string& folder) {
        std::vector<Entry> entries;
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) {
            failures.push_back({folder, errno});
            return entries;
        }
        const std::string prefix = folder.back() == '/' ? folder : folder + "/";
        errno = 0;
        while (const dirent* entry = readdir(dir)) {
            if (!IsDotEntry(entry->d_name)) {
                std::string path = prefix + entry->d_name;
                const EntryKind kind = KindOf(*entry, path);
                if (kind != EntryKind::kDevice) {
                    entries.push_back({std::move(path), kind == EntryKind::kFolder});
                }
            }
            errno = 0;
        }
        if (errno != 0) {
            failures.push_back({folder, errno});
        }
        closedir(dir);
        return entries;
    }

    std::vector<std::string>& pendingPaths;
    ScanControl* const control;
    // Every folder entered so far in this scan.
    std::set<FolderId> entered;
    const DeviceFolders deviceFolders;
};

}  // namespace

std::vector<ScanFailure> ScanFolder(const std::string& folder,
                                    std::vector<std::string>& pendingPaths, ScanControl* control) {
    if (folder.empty()) {
        return {};
    }
    FolderScan scan(pendingPaths, control);
    scan.Scan(folder);
    return std::move(scan.failures);
}

}  // namespace rizo
