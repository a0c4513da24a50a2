// SPDX-License-Identifier: MIT
// Checksum files made from the selected rows: the GNU form that md5sum, sha1sum and sha256sum
// check, or SFV for CRC32.
#pragma once

#include <string>

#include "filelist/row_store.h"

namespace rizo {

enum class ChecksumFormat { kMd5, kSha1, kSha256, kSfv };

struct ChecksumText {
    // LF line ends.
    std::string text;
    // Selected rows without the digest, which the file cannot list.
    int withoutDigest = 0;
    // SFV rows whose name that form cannot hold (a line break, a leading ";", trailing blanks).
    int unwritableName = 0;
};

// One line per selected row, in list order, naming the file relative to `folder` (the saved
// file's, ending with "/") where it lies under it and by its full path otherwise. Names with a
// backslash or line break are escaped on a line that starts with a backslash, as coreutils does.
ChecksumText ChecksumFileText(const RowStore& rows, ChecksumFormat format,
                              const std::string& folder);

}  // namespace rizo
