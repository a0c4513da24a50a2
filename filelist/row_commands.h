// SPDX-License-Identifier: MIT
// Remove Selected Items, Clear All, Select All, Select None and Select Failed over the rows.
#pragma once

#include "filelist/row_store.h"

namespace rizo {

// Deletes the selected rows; every row at once when all are selected. False when none was.
bool RemoveSelected(RowStore& rows);

void ClearAll(RowStore& rows);

// Both change only the selected state; false when there was nothing to change.
bool SelectAll(RowStore& rows);
bool SelectNone(RowStore& rows);
// Selects exactly the rows that carry a failure, so Remove or Refresh can act on them. False
// when there is none.
bool SelectFailed(RowStore& rows);

}  // namespace rizo
