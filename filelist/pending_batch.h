// Turning paths into a batch for the worker: rows for new paths, queued rows for Refresh, drops.
#pragma once

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

// Maps each pending path to its row and appends the rows to `pendingRows`. With
// `autoSortFileName` the batch is first ordered by the full paths' bytes; rows already listed
// never move.
void CommitPending(RowStore& rows, std::vector<std::string>& pendingPaths,
                   std::vector<int32_t>& pendingRows, bool autoSortFileName);

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
