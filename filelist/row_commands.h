// Remove Selected Items, Clear All, Select All and Select None over the rows.
#pragma once

#include "filelist/row_store.h"

namespace rizo {

// Deletes the selected rows; every row at once when all are selected. False when none was.
bool RemoveSelected(RowStore& rows);

void ClearAll(RowStore& rows);

// Both change only the selected state; false when there was nothing to change.
bool SelectAll(RowStore& rows);
bool SelectNone(RowStore& rows);

}  // namespace rizo
