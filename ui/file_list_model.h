// SPDX-License-Identifier: MIT
// The file list as a Qt table model: the rows of a FileTable, their colours, highlight and
// selection.
#pragma once

#include <QAbstractTableModel>
#include <QItemSelectionModel>

#include "filelist/file_table.h"

namespace rizo {

class RowSelectionModel;

// Rows live in a FileTable; this model shows them and reports every change to the views.
//
// Selection: the table's per-row flags are the truth. A user's selection in the view is copied
// into the flags as it happens; a selection set through RowStore goes into the flags at once
// and reaches the view in one step when control returns to the event loop, or earlier when the
// view is about to change its selection. Setting rows one by one through the view's selection
// model would cost quadratic time on long lists.
//
// While repainting is suspended (SetRedraw(false)) new rows are announced to the views in one
// batch when it is resumed, and changed rows in one change of the span they lie in: a signal per
// cell of every file hashed cost the window more than the file.
class FileListModel : public QAbstractTableModel, public RowStore {
    Q_OBJECT

public:
    explicit FileListModel(QObject* parent = nullptr);

    // RowStore
    int RowCount() const override { return table.RowCount(); }
    int InsertRow(const std::string& name) override;
    void ReserveRows(int count) override { table.ReserveRows(count); }
    void DeleteRows(const std::vector<int>& rows) override;
    void DeleteAllRows() override;
    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, std::string text) override;
    int FindRowByPath(const std::string& path) const override;
    // A row's note is the tooltip and the accessible description of its cells, but for the
    // verdict's tooltip, which shows the whole verdict. A failed row has a warning mark before its
    // file name; a row whose file is absent is drawn dimmed, without marks.
    void SetRowNote(int row, const std::string& text, RowNote kind) override;
    std::string RowFailure(int row) const override { return table.RowFailure(row); }
    int FailedCount() const override { return table.FailedCount(); }
    bool IsSelected(int row) const override { return table.IsSelected(row); }
    void SetSelected(int row, bool selected) override;
    int SelectedCount() const override { return table.SelectedCount(); }
    void SetRedraw(bool on) override;

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The selection model every view of this model must use.
    QItemSelectionModel* SelectionModel() const;

    const FileTable& Table() const { return table; }
    const RowColour& Colour(int row) const { return table.Colour(row); }
    // Gives the row the background `colour` (0xRRGGBB), which a dark theme shows deepened when it
    // is a duplicate colour; its text is drawn in the theme's text colour where that reads well on
    // it, otherwise in black or white.
    void SetRowBackColour(int row, uint32_t colour);
    // Colours every group of rows with equal non-empty `keyColumn` texts with the group's palette
    // colour (groups 1 to 90; later groups and single rows keep their colours).
    void MarkDuplicates(int keyColumn);

    int HighlightRow() const { return highlightRow; }
    // Draws `row` white on blue whatever its colour; -1 for none.
    void SetHighlightRow(int row);

    // Orders the rows by the bytes of `column`; colours, selection and the views' persistent
    // indexes move with their rows.
    void SortByColumn(int column, bool ascending);

signals:
    // The user changed the selection in a view; the flags already hold the new state.
    void SelectionEdited();

private:
    friend class RowSelectionModel;

    int AnnouncedRows() const { return table.RowCount() - unannouncedRows; }
    bool Absent(int row) const {
        return table.NoteKind(row) == RowNote::kAbsent && !table.Note(row).empty();
    }
    void AnnounceNewRows();
    void AnnounceChangedRows();
    void EmitRowsChanged(int first, int last, const QList<int>& roles);
    void CopySelectionFromView(const QItemSelection& selected, const QItemSelection& deselected);
    void ScheduleSelectionPush();
    void PushSelectionToView();

    FileTable table;
    RowSelectionModel* selection;
    int highlightRow = -1;
    // Rows appended while repainting was suspended, not yet announced to the views.
    int unannouncedRows = 0;
    // The span of the rows changed while repainting was suspended; empty when first > last.
    int changedFirst = 0;
    int changedLast = -1;
    bool redrawOn = true;
    // The flags changed through RowStore and the view does not show it yet.
    bool selectionPushPending = false;
    // Set while the model itself drives the selection model, whose signals then say nothing new.
    bool pushingSelection = false;
    // Set while rows are removed: the view's selection follows, but the user did nothing.
    bool removingRows = false;
};

}  // namespace rizo
