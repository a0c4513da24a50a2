// SPDX-License-Identifier: MIT
// Saving the selected rows' records to a text file.
#pragma once

#include <string>

#include "export/checksum_export.h"
#include "filelist/row_store.h"
#include "settings/program_settings.h"

namespace rizo {

// Writes the whole records of the selected rows (layout and fields from `settings`), bytes
// unchanged, to `path`, replacing it only when every byte was written. With no row selected nothing
// is created and the result is true. On failure `path` is left as it was and `error` names the file
// and the reason.
bool SaveSelection(const RowStore& rows, const ProgramSettings& settings, const std::string& path,
                   std::string& error);

// Writes the selected rows as a checksum file at `path`, naming files relative to its folder, in
// the same all-or-nothing way. `skipped` tells how many selected rows could not be listed (see
// ChecksumText). With no row selected nothing is created and the result is true.
bool SaveChecksumFile(const RowStore& rows, ChecksumFormat format, const std::string& path,
                      ChecksumText& skipped, std::string& error);

}  // namespace rizo
