// SPDX-License-Identifier: MIT
// In-memory rows of the file list: cells, duplicate colour, selection, and a full-path index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/huge_page_allocator.h"
#include "filelist/row_store.h"
#include "filelist/row_texts.h"

namespace rizo {

// Colours are 0xRRGGBB.
// The text colour is not kept: the view chooses one that reads well on the background.
struct RowColour {
    bool isSet = false;
    uint32_t backColour = 0;
};

class FileTable : public RowStore {
public:
    int RowCount() const override { return static_cast<int>(rows.size()); }
    int InsertRow(const std::string& name) override;
    void ReserveRows(int count) override;
    void DeleteRows(const std::vector<int>& rowsToDelete) override;
    void DeleteAllRows() override;

    std::string CellText(int row, int column) const override;
    // Valid until the row changes or rows are inserted, deleted or sorted.
    std::string_view Cell(int row, int column) const { return rows[row].texts.Text(column); }
    void SetCellText(int row, int column, std::string text) override;
    int FindRowByPath(const std::string& path) const override;

    void SetRowNote(int row, const std::string& text, RowNote kind) override;
    std::string RowFailure(int row) const override {
        return IsFailed(row) ? std::string(Note(row)) : "";
    }
    int FailedCount() const override { return failedCount; }
    std::string_view Note(int row) const { return rows[row].texts.Text(RowTexts::kNote); }
    RowNote NoteKind(int row) const { return rows[row].noteKind; }
    bool IsFailed(int row) const {
        return !Note(row).empty() && rows[row].noteKind == RowNote::kFailure;
    }

    bool IsSelected(int row) const override { return rows[row].selected; }
    void SetSelected(int row, bool selected) override;
    int SelectedCount() const override { return selectedCount; }

    void SetRedraw(bool) override {}

    const RowColour& Colour(int row) const { return rows[row].colour; }
    void SetRowBackColour(int row, uint32_t back);

    // Orders the rows by the bytes of `column` (unsigned, no case folding, a prefix first).
    // Colours and selection move with their rows. Returns the old index of each new row.
    std::vector<int> SortByColumn(int column, bool ascending);

private:
    struct Row {
        RowTexts texts;
        RowColour colour;
        RowNote noteKind = RowNote::kFailure;
        bool selected = false;
    };

    using Rows = std::vector<Row, HugePageAllocator<Row>>;

    // A row of the path index and the hash of its Full Path text; row -1 marks a free slot.
    struct IndexSlot {
        uint32_t hash = 0;
        int row = -1;
    };

    void RebuildIndex() const;
    // Makes room for `count` paths in the index, at most half of its slots in use.
    void ReserveIndex(std::size_t count) const;
    // Enters the row's non-empty Full Path text, unless an earlier row shows it already.
    void IndexRow(int row) const;
    // The slot of `path`, or the free slot where it would go.
    std::size_t SlotOf(std::string_view path, uint32_t hash) const;

    Rows rows;
    int selectedCount = 0;
    int failedCount = 0;
    // Full Path text -> first row showing it: open addressing over row numbers, whose texts are
    // the rows' own cells, so that adding a path neither copies it nor allocates. Rebuilt lazily
    // after deletions and sorts, which move rows; cell writes keep it current in place.
    mutable std::vector<IndexSlot> pathIndex;
    mutable std::size_t indexedPaths = 0;
    mutable bool indexStale = false;
};

}  // namespace rizo
