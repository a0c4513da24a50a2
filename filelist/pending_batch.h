// SPDX-License-Identifier: MIT
// Turning paths into a batch for the worker: rows for new paths, queued rows for Refresh, drops.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "filelist/folder_scan.h"
#include "filelist/row_store.h"

namespace rizo {

// Every new batch starts from empty arrays.
void ClearPending(std::vector<std::string>& pendingPaths, std::vector<int32_t>& pendingRows);

// The row showing `path` (exact bytes: names on this platform are case-sensitive), or a new row
// at the end named after the path's last component and showing the path in its Full Path cell.
int FindOrInsertRow(RowStore& rows, const std::string& path);

// Orders a batch by the full paths' bytes, as the AutoSortFileName setting asks.
void SortPending(std::vector<std::string>& pendingPaths);

// Maps each pending path to its row and appends the rows to `pendingRows`. With
// `autoSortFileName` the batch is first sorted by SortPending; rows already listed never move.
void CommitPending(RowStore& rows, std::vector<std::string>& pendingPaths,
                   std::vector<int32_t>& pendingRows, bool autoSortFileName);

// CommitPending of a sorted or unsorted batch a slice at a time, so that the rows of a batch of
// many thousand files are made without holding the window. The store and the arrays must outlive
// it, and change meanwhile only through it.
class PendingCommit {
public:
    using Clock = std::chrono::steady_clock;

    PendingCommit(RowStore& rows, const std::vector<std::string>& pendingPaths,
                  std::vector<int32_t>& pendingRows);

    // Maps further paths to their rows until `until`, and announces the new rows; true once every
    // path has its row.
    bool CommitUntil(Clock::time_point until);
    // Removes the rows this commit added, leaving the store as it was before.
    void Undo();

private:
    RowStore& store;
    const std::vector<std::string>& paths;
    std::vector<int32_t>& rowsOfPaths;
    const int rowsBefore;
    std::size_t next = 0;
};

// Refresh: queues every row under the path its Full Path cell shows.
// False, queueing nothing, when the list is empty.
bool QueueAllRows(const RowStore& rows, std::vector<std::string>& pendingPaths,
                  std::vector<int32_t>& pendingRows);

// Dropped items: a folder is scanned, anything else that exists is queued as named, a name that
// cannot be examined adds nothing. Returns the folders the scans could not list. `control` is
// handed to the scans, and counts the other items as found too.
[[nodiscard]] std::vector<ScanFailure> CollectDroppedItems(const std::vector<std::string>& names,
                                                           std::vector<std::string>& pendingPaths,
                                                           ScanControl* control = nullptr);

}  // namespace rizo
