// SPDX-License-Identifier: MIT
// Checksum files made from the selected rows.
#include "export/checksum_export.h"

#include "verify/checksum_name.h"
#include "verify/listed_file.h"

namespace rizo {

namespace {

int DigestColumn(ChecksumFormat format) {
    switch (format) {
        case ChecksumFormat::kMd5:
            return kColMd5;
        case ChecksumFormat::kSha1:
            return kColSha1;
        case ChecksumFormat::kSha256:
            return kColSha256;
        case ChecksumFormat::kSfv:
            break;
    }
    return kColCrc32;
}

std::string ListedName(const std::string& path, const std::string& folder) {
    if (!folder.empty() && path.size() > folder.size() && path.starts_with(folder)) {
        return path.substr(folder.size());
    }
    return path;
}

}  // namespace

ChecksumText ChecksumFileText(const RowStore& rows, ChecksumFormat format,
                              const std::string& folder) {
    ChecksumText result;
    const int column = DigestColumn(format);
    for (int row = 0; row < rows.RowCount(); ++row) {
        if (!rows.IsSelected(row)) {
            continue;
        }
        const std::string digest = rows.CellText(row, column);
        if (digest.empty()) {
            ++result.withoutDigest;
            continue;
        }
        const std::string name = ListedName(rows.CellText(row, kColFullPath), folder);
        if (format == ChecksumFormat::kSfv) {
            if (!SfvCanHold(name, digest)) {
                ++result.unwritableName;
                continue;
            }
            result.text += name + " " + digest + "\n";
        } else if (NeedsNameEscape(name)) {
            result.text += "\\" + LowerHex(digest) + "  " + EscapeName(name) + "\n";
        } else {
            result.text += LowerHex(digest) + "  " + name + "\n";
        }
    }
    return result;
}

}  // namespace rizo
