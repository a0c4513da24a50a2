// SPDX-License-Identifier: MIT
// The main window's file list: a report view with nine fixed columns, header-click sorting,
// hideable digest columns, duplicate colours and the highlight of the row being hashed.
#pragma once

#include <QAccessible>
#include <QTableView>

#include <array>
#include <cstdint>

#include "ui/file_list_model.h"

namespace rizo {

class SortListView : public QTableView {
    Q_OBJECT

public:
    // `widths` are the initial column widths as the settings hold them; `useMonoFont` shows the
    // cells in "Courier New" (the system's fixed-pitch font where that is not installed).
    SortListView(const std::array<int32_t, kColumnCount>& widths, bool useMonoFont,
                 QWidget* parent = nullptr);

    // The rows; also the RowStore through which files are added, removed and selected.
    FileListModel& Model() { return *model; }
    const FileListModel& Model() const { return *model; }

    // Widens `column` where it is narrower than its widest value and its title with the sort
    // arrow need in the list's font; for widths the settings do not hold, so that no size, digest
    // or date is cut where the font is wider than the default widths allow for.
    void WidenToFit(int column);
    // Widens `column` where it is narrower than `text` with a verdict mark beside it, to at most
    // `most` pixels.
    void WidenToShow(int column, const QString& text, int most);

    // Hiding keeps the column's width to restore when it is shown again; a hidden column
    // cannot be resized by the user.
    void SetColumnHidden(int column, bool hidden);
    bool IsColumnHidden(int column) const { return columnSlots[column].hidden; }
    // The width to save: the kept width of a hidden column, the current width of any other.
    int ReportedColumnWidth(int column) const;

    void SetRowBackColour(int row, uint32_t colour) { model->SetRowBackColour(row, colour); }
    void SetHighlightRow(int row) { model->SetHighlightRow(row); }
    int HighlightRow() const { return model->HighlightRow(); }

    // While off, a header click changes nothing, not even the remembered sort column.
    void SetSortable(bool on) { sortable = on; }
    bool Sortable() const { return sortable; }
    int SortColumn() const { return sortColumn; }
    // 1 ascending, -1 descending, 0 before the first sort.
    int SortDirection() const { return sortDirection; }

protected:
    void changeEvent(QEvent* event) override;
    // Screen readers are told of the cell that got the focus or the selection as the list's
    // accessible table counts it, without the hidden columns.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    struct ColumnSlot {
        bool hidden = false;
        int savedWidth = -1;
    };

    void SetUpColumns(const std::array<int32_t, kColumnCount>& widths);
    void FitRowHeight();
    void TellScreenReaders(QAccessible::Event type, const QModelIndex& index);
    void UseMonoFont();
    void SortByHeaderClick(int column);
    void ShowSortArrow();
    QSize CellSizeFor(const QString& text, bool withMark) const;

    FileListModel* model;
    std::array<ColumnSlot, kColumnCount> columnSlots{};
    bool sortable = true;
    int sortColumn = -1;
    int sortDirection = 0;
};

}  // namespace rizo
