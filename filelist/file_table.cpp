// In-memory rows of the file list.
#include "filelist/file_table.h"

#include <algorithm>
#include <numeric>

namespace rizo {

int FileTable::InsertRow(const std::string& name) {
    Row row;
    row.cells[kColFilename] = name;
    rows_.push_back(std::move(row));
    return RowCount() - 1;
}

void FileTable::DeleteRow(int row) {
    if (rows_[row].selected) {
        --selectedCount_;
    }
    rows_.erase(rows_.begin() + row);
    indexStale_ = true;
}

void FileTable::DeleteAllRows() {
    rows_.clear();
    pathIndex_.clear();
    selectedCount_ = 0;
    indexStale_ = false;
}

std::string FileTable::CellText(int row, int column) const {
    return rows_[row].cells[column];
}

void FileTable::SetCellText(int row, int column, const std::string& text) {
    std::string& cell = rows_[row].cells[column];
    if (column != kColFullPath || indexStale_) {
        cell = text;
        return;
    }
    if (cell == text) {
        return;
    }
    if (!cell.empty()) {
        // The row leaves its old path; a later row may now be the first to show it.
        cell = text;
        indexStale_ = true;
        return;
    }
    cell = text;
    if (!text.empty()) {
        auto [it, inserted] = pathIndex_.try_emplace(text, row);
        if (!inserted && row < it->second) {
            it->second = row;
        }
    }
}

int FileTable::FindRowByPath(const std::string& path) const {
    if (indexStale_) {
        RebuildIndex();
    }
    auto it = pathIndex_.find(path);
    return it == pathIndex_.end() ? -1 : it->second;
}

void FileTable::RebuildIndex() const {
    pathIndex_.clear();
    for (int row = 0; row < RowCount(); ++row) {
        const std::string& path = rows_[row].cells[kColFullPath];
        if (!path.empty()) {
            pathIndex_.try_emplace(path, row);
        }
    }
    indexStale_ = false;
}

void FileTable::SetSelected(int row, bool selected) {
    if (rows_[row].selected != selected) {
        rows_[row].selected = selected;
        selectedCount_ += selected ? 1 : -1;
    }
}

void FileTable::SetRowBackColour(int row, uint32_t back, uint32_t defaultText) {
    RowColour& colour = rows_[row].colour;
    if (colour.textColour == 0) {
        colour.textColour = defaultText;
    }
    colour.backColour = back;
    colour.isSet = true;
}

std::vector<int> FileTable::SortByColumn(int column, bool ascending) {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    // std::string compares through char_traits<char>, which orders bytes as unsigned char.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::string& ta = rows_[a].cells[column];
        const std::string& tb = rows_[b].cells[column];
        return ascending ? ta < tb : tb < ta;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (int old : order) {
        sorted.push_back(std::move(rows_[old]));
    }
    rows_ = std::move(sorted);
    indexStale_ = true;
    return order;
}

}  // namespace rizo
