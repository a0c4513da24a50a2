// SPDX-License-Identifier: MIT
// What a folder listing's entry is, shared by the window's folder scan and the CLI's walk.
#include "filelist/folder_entry.h"

#include <sys/stat.h>

namespace rizo {

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

EntryKind KindOf(const dirent& entry, const std::string& path) {
    switch (entry.d_type) {
        case DT_DIR:
            return EntryKind::kFolder;
        case DT_BLK:
        case DT_CHR:
            return EntryKind::kDevice;
        case DT_LNK:
        case DT_UNKNOWN:
            break;
        default:
            return EntryKind::kOther;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return EntryKind::kOther;
    }
    if (S_ISDIR(info.st_mode)) {
        return EntryKind::kFolder;
    }
    return S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode) ? EntryKind::kDevice : EntryKind::kOther;
}

}  // namespace rizo
