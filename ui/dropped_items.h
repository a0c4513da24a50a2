// SPDX-License-Identifier: MIT
// The local names carried by a drop onto the window.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace rizo {

// Local file and folder names of the drop, in order, as raw bytes taken from its URI list, so
// names that are not valid UTF-8 arrive intact.
std::vector<std::string> DroppedNames(const QMimeData& data);

// A regular file named as checksum files are (*.md5, *.sha1, *.sha256, *.sha256sum, *.sfv,
// MD5SUMS, SHA1SUMS, SHA256SUMS): dropped, it is verified rather than added.
bool IsChecksumFile(const std::string& path);

}  // namespace rizo
