// SPDX-License-Identifier: MIT
// Saving the selected rows' records to a text file.
#include "export/save_selection.h"

#include "base/file_entry.h"
#include "export/export_selection.h"
#include "export/safe_file_write.h"

namespace rizo {

bool SaveSelection(const RowStore& rows, const ProgramSettings& settings, const std::string& path,
                   std::string& error) {
    std::optional<std::string> text = ExportSelection(rows, ExportKind::kRecords, settings);
    if (!text) {
        return true;
    }
    return WriteFileSafely(path, *text, error);
}

bool SaveChecksumFile(const RowStore& rows, ChecksumFormat format, const std::string& path,
                      ChecksumText& skipped, std::string& error) {
    if (rows.SelectedCount() == 0) {
        return true;
    }
    skipped = ChecksumFileText(rows, format, path.substr(0, NameStart(path)));
    const bool written = WriteFileSafely(path, skipped.text, error);
    skipped.text.clear();
    return written;
}

}  // namespace rizo
