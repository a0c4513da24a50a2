// SPDX-License-Identifier: MIT
// In-memory rows of the file list.
#include "filelist/file_table.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <utility>

namespace rizo {

int FileTable::InsertRow(const std::string& name) {
    rows.emplace_back().texts.Set(kColFilename, name);
    return RowCount() - 1;
}

void FileTable::ReserveRows(int count) {
    rows.reserve(static_cast<std::size_t>(count));
    // Rehashing the index of a million paths as it grows would hold the window each time.
    ReserveIndex(static_cast<std::size_t>(count));
}

void FileTable::DeleteRows(const std::vector<int>& rowsToDelete) {
    if (rowsToDelete.empty()) {
        return;
    }
    size_t kept = static_cast<size_t>(rowsToDelete.front());
    auto next = rowsToDelete.begin();
    for (size_t row = kept; row < rows.size(); ++row) {
        if (next != rowsToDelete.end() && static_cast<size_t>(*next) == row) {
            selectedCount -= rows[row].selected ? 1 : 0;
            failedCount -= IsFailed(static_cast<int>(row)) ? 1 : 0;
            ++next;
        } else {
            rows[kept++] = std::move(rows[row]);
        }
    }
    rows.resize(kept);
    indexStale = true;
}

void FileTable::DeleteAllRows() {
    rows.clear();
    pathIndex.clear();
    indexedPaths = 0;
    selectedCount = 0;
    failedCount = 0;
    indexStale = false;
}

std::string FileTable::CellText(int row, int column) const {
    return std::string(Cell(row, column));
}

void FileTable::SetCellText(int row, int column, std::string text) {
    RowTexts& texts = rows[row].texts;
    const std::string_view cell = texts.Text(column);
    if (cell == text) {
        return;
    }
    const bool hadPath = !cell.empty();
    texts.Set(column, text);
    if (column != kColFullPath || indexStale) {
        return;
    }
    if (hadPath) {
        // The row leaves its old path; a later row may now be the first to show it.
        indexStale = true;
    } else if (!text.empty()) {
        IndexRow(row);
    }
}

namespace {

uint32_t PathHash(std::string_view path) {
    return static_cast<uint32_t>(std::hash<std::string_view>{}(path));
}

}  // namespace

int FileTable::FindRowByPath(const std::string& path) const {
    if (indexStale) {
        RebuildIndex();
    }
    if (pathIndex.empty()) {
        return -1;
    }
    return pathIndex[SlotOf(path, PathHash(path))].row;
}

std::size_t FileTable::SlotOf(std::string_view path, uint32_t hash) const {
    const std::size_t mask = pathIndex.size() - 1;
    std::size_t slot = hash & mask;
    while (pathIndex[slot].row >= 0 &&
           (pathIndex[slot].hash != hash || Cell(pathIndex[slot].row, kColFullPath) != path)) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

void FileTable::IndexRow(int row) const {
    ReserveIndex(indexedPaths + 1);
    const std::string_view path = Cell(row, kColFullPath);
    const uint32_t hash = PathHash(path);
    IndexSlot& slot = pathIndex[SlotOf(path, hash)];
    if (slot.row < 0) {
        slot = {hash, row};
        ++indexedPaths;
    } else if (row < slot.row) {
        slot.row = row;
    }
}

void FileTable::ReserveIndex(std::size_t count) const {
    std::size_t slots = std::max<std::size_t>(pathIndex.size(), 16);
    while (slots < 2 * count) {
        slots *= 2;
    }
    if (slots == pathIndex.size()) {
        return;
    }
    // The paths in the index differ, so each goes to the first free slot from its hash.
    std::vector<IndexSlot> old = std::exchange(pathIndex, std::vector<IndexSlot>(slots));
    for (const IndexSlot& entry : old) {
        if (entry.row >= 0) {
            std::size_t slot = entry.hash & (slots - 1);
            while (pathIndex[slot].row >= 0) {
                slot = (slot + 1) & (slots - 1);
            }
            pathIndex[slot] = entry;
        }
    }
}

void FileTable::RebuildIndex() const {
    std::fill(pathIndex.begin(), pathIndex.end(), IndexSlot{});
    indexedPaths = 0;
    indexStale = false;
    for (int row = 0; row < RowCount(); ++row) {
        if (!Cell(row, kColFullPath).empty()) {
            IndexRow(row);
        }
    }
}

void FileTable::SetSelected(int row, bool selected) {
    if (rows[row].selected != selected) {
        rows[row].selected = selected;
        selectedCount += selected ? 1 : -1;
    }
}

void FileTable::SetRowNote(int row, const std::string& text, RowNote kind) {
    failedCount -= IsFailed(row) ? 1 : 0;
    rows[row].texts.Set(RowTexts::kNote, text);
    rows[row].noteKind = kind;
    failedCount += IsFailed(row) ? 1 : 0;
}

void FileTable::SetRowBackColour(int row, uint32_t back) {
    rows[row].colour = RowColour{true, back};
}

std::vector<int> FileTable::SortByColumn(int column, bool ascending) {
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    // std::string_view compares through char_traits<char>, which orders bytes as unsigned char.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::string_view ta = Cell(a, column);
        const std::string_view tb = Cell(b, column);
        return ascending ? ta < tb : tb < ta;
    });
    Rows sorted;
    sorted.reserve(rows.size());
    for (int old : order) {
        sorted.push_back(std::move(rows[old]));
    }
    rows = std::move(sorted);
    indexStale = true;
    return order;
}

}  // namespace rizo
