// SPDX-License-Identifier: MIT
// Text made from the selected rows of the file list, for copying and saving.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "filelist/row_store.h"
#include "settings/program_settings.h"

namespace rizo {

// Whole records, or the cell of one digest alone.
enum class ExportKind { kRecords, kMd5, kSha1, kCrc32, kSha256 };

// The line break of copied and saved text.
inline constexpr std::string_view kCopyLineBreak = "\r\n";

// The records of the selected rows in list order, each followed by `lineBreak` except the record
// of the list's last row, shaped by the digest flags and copy options as they stand now; the same
// `lineBreak` ends the lines within records. A name or path with a line break, or starting with a
// backslash, is written escaped after a backslash (RecordName). No value when no row is selected.
std::optional<std::string> ExportSelection(const RowStore& rows, ExportKind kind,
                                           const ProgramSettings& settings,
                                           std::string_view lineBreak = kCopyLineBreak);

}  // namespace rizo
