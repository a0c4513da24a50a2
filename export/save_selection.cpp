// Saving the selected rows' records to a text file.
#include "export/save_selection.h"

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

}  // namespace rizo
