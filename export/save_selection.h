// Saving the selected rows' records to a text file.
#pragma once

#include <string>

#include "export/export_options.h"
#include "filelist/row_store.h"

namespace rizo {

// Writes the whole records of the selected rows, bytes unchanged, to `path`, replacing it only
// when every byte was written. With no row selected nothing is created and the result is true.
// On failure `path` is left as it was and `error` names the file and the reason.
bool SaveSelection(const RowStore& rows, const ExportOptions& options, const std::string& path,
                   std::string& error);

}  // namespace rizo
