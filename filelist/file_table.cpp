// In-memory rows of the file list.
#include "filelist/file_table.h"

#include <algorithm>
#include <numeric>

namespace rizo {

int FileTable::InsertRow(const std::string& name) {
    rows.emplace_back().cells[kColFilename] = name;
    return RowCount() - 1;
}

void FileTable::ReserveRows(int count) {
    rows.reserve(static_cast<std::size_t>(count));
    // Rehashing the index of a million paths as it grows would hold the window each time.
    pathIndex.reserve(static_cast<std::size_t>(count));
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
            failedCount -= rows[row].failure.empty() ? 0 : 1;
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
    selectedCount = 0;
    failedCount = 0;
    indexStale = false;
}

std::string FileTable::CellText(int row, int column) const {
    return rows[row].cells[column];
}

void FileTable::SetCellText(int row, int column, std::string text) {
    std::string& cell = rows[row].cells[column];
    if (column != kColFullPath || indexStale) {
        cell = std::move(text);
        return;
    }
    if (cell == text) {
        return;
    }
    if (!cell.empty()) {
        // The row leaves its old path; a later row may now be the first to show it.
        cell = std::move(text);
        indexStale = true;
        return;
    }
    if (!text.empty()) {
        auto [it, inserted] = pathIndex.try_emplace(text, row);
        if (!inserted && row < it->second) {
            it->second = row;
        }
    }
    cell = std::move(text);
}

int FileTable::FindRowByPath(const std::string& path) const {
    if (indexStale) {
        RebuildIndex();
    }
    auto it = pathIndex.find(path);
    return it == pathIndex.end() ? -1 : it->second;
}

void FileTable::RebuildIndex() const {
    pathIndex.clear();
    for (int row = 0; row < RowCount(); ++row) {
        const std::string& path = rows[row].cells[kColFullPath];
        if (!path.empty()) {
            pathIndex.try_emplace(path, row);
        }
    }
    indexStale = false;
}

void FileTable::SetSelected(int row, bool selected) {
    if (rows[row].selected != selected) {
        rows[row].selected = selected;
        selectedCount += selected ? 1 : -1;
    }
}

void FileTable::SetRowFailure(int row, const std::string& reason) {
    std::string& failure = rows[row].failure;
    failedCount += (reason.empty() ? 0 : 1) - (failure.empty() ? 0 : 1);
    failure = reason;
}

void FileTable::SetRowBackColour(int row, uint32_t back) {
    rows[row].colour = RowColour{true, back};
}

std::vector<int> FileTable::SortByColumn(int column, bool ascending) {
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    // std::string compares through char_traits<char>, which orders bytes as unsigned char.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::string& ta = rows[a].cells[column];
        const std::string& tb = rows[b].cells[column];
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
