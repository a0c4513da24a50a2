// SPDX-License-Identifier: MIT
// What a folder listing's entry is, shared by the window's folder scan and the CLI's walk.
#pragma once

#include <dirent.h>

#include <string>

namespace rizo {

// True for "." and "..", which every listing holds and no scan enters.
bool IsDotEntry(const char* name);

// What an entry leads to, links followed.
enum class EntryKind {
    kFolder,
    kDevice,  // a block or character device: read only where it is named, never found in a scan
    kOther,   // a file, FIFO, socket, or a link that leads nowhere
};

// What `entry`, found at `path`, is. DT_UNKNOWN (some file systems) and links need a stat to tell.
EntryKind KindOf(const dirent& entry, const std::string& path);

}  // namespace rizo
