// SPDX-License-Identifier: MIT
// Remove Selected Items, Clear All, Select All, Select None and Select Failed over the rows.
#include "filelist/row_commands.h"

namespace rizo {

bool RemoveSelected(RowStore& rows) {
    const int selected = rows.SelectedCount();
    const int count = rows.RowCount();
    if (selected == 0) {
        return false;
    }
    if (selected == count) {
        rows.DeleteAllRows();
        return true;
    }
    std::vector<int> doomed;
    doomed.reserve(static_cast<size_t>(selected));
    for (int row = 0; row < count; ++row) {
        if (rows.IsSelected(row)) {
            doomed.push_back(row);
        }
    }
    rows.DeleteRows(doomed);
    return true;
}

void ClearAll(RowStore& rows) {
    rows.DeleteAllRows();
}

bool SelectAll(RowStore& rows) {
    const int count = rows.RowCount();
    if (rows.SelectedCount() >= count) {
        return false;
    }
    for (int row = 0; row < count; ++row) {
        rows.SetSelected(row, true);
    }
    return true;
}

bool SelectNone(RowStore& rows) {
    int remaining = rows.SelectedCount();
    if (remaining == 0) {
        return false;
    }
    for (int row = 0; remaining > 0 && row < rows.RowCount(); ++row) {
        if (rows.IsSelected(row)) {
            rows.SetSelected(row, false);
            --remaining;
        }
    }
    return true;
}

bool SelectFailed(RowStore& rows) {
    if (rows.FailedCount() == 0) {
        return false;
    }
    for (int row = 0; row < rows.RowCount(); ++row) {
        rows.SetSelected(row, !rows.RowFailure(row).empty());
    }
    return true;
}

}  // namespace rizo
