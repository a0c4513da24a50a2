// SPDX-License-Identifier: MIT
// The file list as core code sees it: rows of nine text cells, a selected state, a path lookup.
#pragma once

#include <string>
#include <vector>

namespace rizo {

// Cell order of every row; the list's columns follow it.
enum Column : int {
    kColFilename,
    kColMd5,
    kColSha1,
    kColCrc32,
    kColSha256,
    kColSize,
    kColCreated,
    kColModified,
    kColFullPath,
    // The verdict of the last verification of the row's file against a checksum file; empty for
    // a row that no such check has reached. Shown beside the name, never exported.
    kColVerdict,
    kColumnCount
};

// What a row's note says of its file.
enum class RowNote {
    // It could not be read, or does not match what a checksum file lists for it.
    kFailure,
    // Only an explanation, such as a stop that left it unhashed.
    kRemark,
    // A checksum file lists it and it is not there, which the check's answer does not hold
    // against it: the row is drawn dimmed.
    kAbsent,
};

// Implemented by the in-memory FileTable (core, tests) and by the GUI's list model, so that adding,
// removing, refreshing and exporting rows run the same code with and without a window.
class RowStore {
public:
    virtual ~RowStore() = default;

    virtual int RowCount() const = 0;
    // Appends a row whose Filename cell is `name` and whose other cells are empty; returns its
    // index.
    virtual int InsertRow(const std::string& name) = 0;
    // Makes room for `count` rows in all, so that a long batch's rows are not moved as they come.
    virtual void ReserveRows(int count) = 0;
    // Removes the listed rows, given in ascending order without repeats, in one step; the rows
    // left keep their order. One step, because removing rows one by one from a long list moves
    // the rows below each of them every time.
    virtual void DeleteRows(const std::vector<int>& rows) = 0;
    virtual void DeleteAllRows() = 0;

    virtual std::string CellText(int row, int column) const = 0;
    // Takes the text by value: a caller done with its own moves it in.
    virtual void SetCellText(int row, int column, std::string text) = 0;
    // First row whose Full Path cell equals `path` byte for byte, or -1.
    virtual int FindRowByPath(const std::string& path) const = 0;

    // A few words on the row's file, which stay with the row through sorts; an empty text clears
    // them. Only a failure counts as one: Select Failed picks its row.
    virtual void SetRowNote(int row, const std::string& text, RowNote kind) = 0;
    // The note of a failed row: why its file has no digests or does not match its listed digest;
    // empty when its last hashing succeeded or it has not been hashed.
    virtual std::string RowFailure(int row) const = 0;
    virtual int FailedCount() const = 0;

    virtual bool IsSelected(int row) const = 0;
    virtual void SetSelected(int row, bool selected) = 0;
    virtual int SelectedCount() const = 0;

    // Suspends and resumes repainting while many rows change; no effect on the data.
    virtual void SetRedraw(bool on) = 0;
};

}  // namespace rizo
