// SPDX-License-Identifier: MIT
// What screen readers see of the file list: a table of the columns shown, and no others.
#pragma once

#include <QAccessibleWidget>
#include <QModelIndex>

#include <unordered_map>

namespace rizo {

class SortListView;

// The list as a table whose columns are the shown ones, in the order shown: the hidden digest and
// verdict columns, which Qt's own table reports as cells, stay out. The children are the column
// headers, then the cells row by row.
class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(SortListView* list);
    ~ListAccessible() override;
    ListAccessible(const ListAccessible&) = delete;
    ListAccessible& operator=(const ListAccessible&) = delete;

    // The child that stands for the cell at `index`, -1 for a cell of a hidden column: what the
    // list's focus and selection events name.
    int ChildIndexOf(const QModelIndex& index) const;
    // Drops the cells made so far, once rows come or go or columns are shown or hidden.
    void Forget();

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // QAccessibleTableInterface; a column is a shown column's place among the shown ones.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    int selectedRowCount() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    SortListView* List() const;
    // The model column shown at `column`, or -1.
    int ModelColumn(int column) const;
    // Where model column `modelColumn` is shown, or -1 while it is hidden.
    int ShownColumn(int modelColumn) const;
    // The header of model column `modelColumn` for row -1.
    QAccessibleInterface* Cell(int row, int modelColumn) const;

private:
    mutable std::unordered_map<qint64, QAccessible::Id> cells;
};

}  // namespace rizo
