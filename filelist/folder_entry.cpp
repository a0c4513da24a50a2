// SPDX-License-Identifier: MIT
// What a folder listing's entry is, shared by the window's folder scan and the CLI's walk.
#include "filelist/folder_entry.h"

#include <sys/stat.h>

namespace rizo {

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool LeadsToFolder(const dirent& entry, const std::string& path) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace rizo
