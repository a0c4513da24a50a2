// The files named on the command line, with folders expanded by -r.
#pragma once

#include <string>
#include <vector>

#include "filelist/folder_scan.h"

namespace rizo {

// Appends the files to hash for one command-line argument. With `recursive` a folder stands for
// every file under it, named below the folder as it was given and in byte order of the names, so
// the output can be compared between runs; the folders that cannot be listed are appended to
// `failures`. Anything else, a folder without `recursive` included, is hashed as named and fails
// there if it must.
void AppendCommandPath(const std::string& argument, bool recursive, std::vector<std::string>& files,
                       std::vector<ScanFailure>& failures);

}  // namespace rizo
