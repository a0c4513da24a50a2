// SPDX-License-Identifier: MIT
// The list rows that the window would show for files given on the command line.
#include "cli/record_rows.h"

#include <filesystem>

#include "base/value_format.h"
#include "cli/cli_batch.h"
#include "export/export_selection.h"

namespace rizo {

void ApplyRecordOptions(const CliOptions& options, ProgramSettings& settings) {
    if (options.delimiterType) {
        settings.DelimiterType = *options.delimiterType;
    }
    if (options.fields) {
        settings.IncSize = options.fields->IncSize;
        settings.IncDateCreated = options.fields->IncDateCreated;
        settings.IncDateModified = options.fields->IncDateModified;
        settings.IncFolder = options.fields->IncFolder;
    }
}

std::string RowPath(const std::string& path) {
    if (path == kStandardInputName) {
        return path;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().native();
}

void AppendRecordRow(const FileEntry& entry, RowStore& rows) {
    const int row = rows.InsertRow(entry.name);
    const std::string cells[] = {
        entry.md5,     entry.sha1,     entry.crc32, entry.sha256, FormatFileSize(entry.size),
        entry.created, entry.modified, entry.path};
    for (int column = kColMd5; column <= kColFullPath; ++column) {
        rows.SetCellText(row, column, cells[column - kColMd5]);
    }
    rows.SetSelected(row, true);
}

std::string RecordsText(const RowStore& rows, const ProgramSettings& settings, bool crlf) {
    const std::string_view lineBreak = crlf ? kCopyLineBreak : "\n";
    std::optional<std::string> text =
        ExportSelection(rows, ExportKind::kRecords, settings, lineBreak);
    if (!text) {
        return "";
    }
    // A block record ends with its rule's line break; a delimited one with its last field.
    if (settings.DelimiterType != 0) {
        text->append(lineBreak);
    }
    return std::move(*text);
}

}  // namespace rizo
