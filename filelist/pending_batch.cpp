// SPDX-License-Identifier: MIT
// Turning paths into a batch for the worker: rows for new paths, queued rows for Refresh, drops.
#include "filelist/pending_batch.h"

#include <sys/stat.h>

#include <algorithm>
#include <numeric>

#include "base/file_entry.h"

namespace rizo {

void ClearPending(std::vector<std::string>& pendingPaths, std::vector<int32_t>& pendingRows) {
    pendingPaths.clear();
    pendingRows.clear();
}

int FindOrInsertRow(RowStore& rows, const std::string& path) {
    const int row = rows.FindRowByPath(path);
    if (row >= 0) {
        return row;
    }
    const int inserted = rows.InsertRow(path.substr(NameStart(path)));
    // The row shows its path from the start, so a batch stopped before reaching it leaves a row
    // that Refresh can hash and that a second add of the same path finds.
    rows.SetCellText(inserted, kColFullPath, path);
    return inserted;
}

void SortPending(std::vector<std::string>& pendingPaths) {
    // std::string orders by unsigned bytes: upper case before lower, no folding.
    std::sort(pendingPaths.begin(), pendingPaths.end());
}

void CommitPending(RowStore& rows, std::vector<std::string>& pendingPaths,
                   std::vector<int32_t>& pendingRows, bool autoSortFileName) {
    if (autoSortFileName) {
        SortPending(pendingPaths);
    }
    PendingCommit(rows, pendingPaths, pendingRows)
        .CommitUntil(PendingCommit::Clock::time_point::max());
}

PendingCommit::PendingCommit(RowStore& rows, const std::vector<std::string>& pendingPaths,
                             std::vector<int32_t>& pendingRows)
    : store(rows), paths(pendingPaths), rowsOfPaths(pendingRows), rowsBefore(rows.RowCount()) {
    rowsOfPaths.reserve(rowsOfPaths.size() + paths.size());
    store.ReserveRows(rowsBefore + static_cast<int>(paths.size()));
}

bool PendingCommit::CommitUntil(Clock::time_point until) {
    // The clock is read once per this many paths: a read costs more than making a row.
    constexpr std::size_t kPathsPerLook = 256;
    store.SetRedraw(false);
    while (next < paths.size()) {
        rowsOfPaths.push_back(FindOrInsertRow(store, paths[next]));
        ++next;
        if (next % kPathsPerLook == 0 && Clock::now() >= until) {
            break;
        }
    }
    store.SetRedraw(true);
    return next == paths.size();
}

void PendingCommit::Undo() {
    std::vector<int> added(static_cast<std::size_t>(store.RowCount() - rowsBefore));
    std::iota(added.begin(), added.end(), rowsBefore);
    store.DeleteRows(added);
}

bool QueueAllRows(const RowStore& rows, std::vector<std::string>& pendingPaths,
                  std::vector<int32_t>& pendingRows) {
    const int count = rows.RowCount();
    if (count == 0) {
        return false;
    }
    ClearPending(pendingPaths, pendingRows);
    pendingPaths.reserve(count);
    pendingRows.reserve(count);
    for (int row = 0; row < count; ++row) {
        pendingPaths.push_back(rows.CellText(row, kColFullPath));
        pendingRows.push_back(row);
    }
    return true;
}

std::vector<ScanFailure> CollectDroppedItems(const std::vector<std::string>& names,
                                             std::vector<std::string>& pendingPaths,
                                             ScanControl* control) {
    std::vector<ScanFailure> failures;
    for (const std::string& name : names) {
        struct stat info {};
        if (stat(name.c_str(), &info) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            std::vector<ScanFailure> more = ScanFolder(name, pendingPaths, control);
            failures.insert(failures.end(), more.begin(), more.end());
        } else {
            pendingPaths.push_back(name);
            if (control != nullptr) {
                control->found.fetch_add(1, std::memory_order_relaxed);
            }
        }
    }
    return failures;
}

}  // namespace rizo
