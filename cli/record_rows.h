// SPDX-License-Identifier: MIT
// The list rows that the window would show for files given on the command line.
#pragma once

#include <string>

#include "base/file_entry.h"
#include "cli/cli_options.h"
#include "filelist/row_store.h"
#include "settings/program_settings.h"

namespace rizo {

// Takes the --delimiter and --include overrides into the copy options.
void ApplyRecordOptions(const CliOptions& options, ProgramSettings& settings);

// The path as the window's rows hold it: absolute, from its dialogs and drops; standard input
// keeps its name.
std::string RowPath(const std::string& path);

// Appends a selected row holding what the window shows for the worker's result: size 0 with
// empty digests and dates for a file that cannot be opened.
void AppendRecordRow(const FileEntry& entry, RowStore& rows);

// The text Copy gives for `rows`, all selected, with LF line breaks or, with `crlf`, Copy's own
// CR LF, and its last line ended (Copy ends a delimited record only when another follows).
std::string RecordsText(const RowStore& rows, const ProgramSettings& settings, bool crlf);

}  // namespace rizo
