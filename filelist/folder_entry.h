// SPDX-License-Identifier: MIT
// What a folder listing's entry is, shared by the window's folder scan and the CLI's walk.
#pragma once

#include <dirent.h>

#include <string>

namespace rizo {

// True for "." and "..", which every listing holds and no scan enters.
bool IsDotEntry(const char* name);

// Whether `entry`, found at `path`, is a folder or a link to one. DT_UNKNOWN (some file systems)
// and links need a stat to tell.
bool LeadsToFolder(const dirent& entry, const std::string& path);

}  // namespace rizo
