// The list rows that the window would show for files given on the command line.
#pragma once

#include <string>

#include "cli/cli_options.h"
#include "engine/digest_engine.h"
#include "filelist/row_store.h"
#include "settings/program_settings.h"

namespace rizo {

// Takes the --delimiter and --include overrides into the copy options.
void ApplyRecordOptions(const CliOptions& options, ProgramSettings& settings);

// Hashes `path` with the settings' digests and letter case and appends a selected row holding
// what the window shows for it: the absolute path, and size 0 with empty digests and dates for a
// file that cannot be opened. False with `reason` when some selected digest is missing; the row
// is added all the same.
bool AppendRecordRow(DigestEngine& engine, const std::string& path, const ProgramSettings& settings,
                     RowStore& rows, std::string& reason);

}  // namespace rizo
