// Recursive collection of the files under a folder, for Add Folder and dropped folders.
#pragma once

#include <string>
#include <vector>

namespace rizo {

// Appends the full path of every entry under `folder` that is not a folder (files, links to
// files, FIFOs, sockets, devices, hidden names alike) to `pendingPaths`, depth first in the order
// the platform lists them. Links to folders are entered, except one leading to a folder already
// on the path being scanned, so a link loop ends. A folder that is missing, unreadable or whose
// path exceeds the platform's limit adds nothing.
void ScanFolder(const std::string& folder, std::vector<std::string>& pendingPaths);

}  // namespace rizo
