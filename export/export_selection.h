// SPDX-License-Identifier: MIT
// Text made from the selected rows of the file list, for copying and saving.
#pragma once

#include <optional>
#include <string>

#include "filelist/row_store.h"
#include "settings/program_settings.h"

namespace rizo {

// Whole records, or the cell of one digest alone.
enum class ExportKind { kRecords, kMd5, kSha1, kCrc32, kSha256 };

// The records of the selected rows in list order, each followed by CR LF except the record of the
// list's last row, shaped by the digest flags and copy options as they stand now. No value when
// no row is selected.
std::optional<std::string> ExportSelection(const RowStore& rows, ExportKind kind,
                                           const ProgramSettings& settings);

}  // namespace rizo
