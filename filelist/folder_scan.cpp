// Recursive collection of the files under a folder, for Add Folder and dropped folders.
#include "filelist/folder_scan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <utility>

namespace rizo {
namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Entry {
    std::string path;
    bool isFolder;
};

bool IsDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// DT_UNKNOWN (some file systems) and links need a stat to tell whether they lead to a folder.
bool LeadsToFolder(const dirent& entry, const std::string& path) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class FolderScan {
public:
    explicit FolderScan(std::vector<std::string>& paths) : pendingPaths(paths) {}

    void Scan(const std::string& folder) {
        if (folder.size() + 1 >= PATH_MAX) {
            return;
        }
        struct stat info {};
        if (stat(folder.c_str(), &info) != 0) {
            return;
        }
        const FolderId id{info.st_dev, info.st_ino};
        if (std::find(scanPath.begin(), scanPath.end(), id) != scanPath.end()) {
            return;
        }
        scanPath.push_back(id);
        for (const Entry& entry : ReadEntries(folder)) {
            if (entry.isFolder) {
                Scan(entry.path);
            } else {
                pendingPaths.push_back(entry.path);
            }
        }
        scanPath.pop_back();
    }

private:
    // Reads the whole listing before descending, so a deep tree holds one open folder at a time.
    static std::vector<Entry> ReadEntries(const std::string& folder) {
        std::vector<Entry> entries;
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) {
            return entries;
        }
        const std::string prefix = folder.back() == '/' ? folder : folder + "/";
        while (const dirent* entry = readdir(dir)) {
            if (IsDot(entry->d_name)) {
                continue;
            }
            std::string path = prefix + entry->d_name;
            const bool isFolder = LeadsToFolder(*entry, path);
            entries.push_back({std::move(path), isFolder});
        }
        closedir(dir);
        return entries;
    }

    std::vector<std::string>& pendingPaths;
    // Folders from the scan's start down to the one being read; a link back to one of them is
    // not followed.
    std::vector<FolderId> scanPath;
};

}  // namespace

void ScanFolder(const std::string& folder, std::vector<std::string>& pendingPaths) {
    if (folder.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    if (error) {
        return;
    }
    FolderScan(pendingPaths).Scan(absolute.lexically_normal().native());
}

}  // namespace rizo
