// SPDX-License-Identifier: MIT
// The file list's table for screen readers, and its cells.
#include "ui/list_accessible.h"

#include <QHeaderView>
#include <QPointer>

#include "ui/sort_list_view.h"

namespace rizo {
namespace {

// A cell of the list, or for row -1 the header of its column.
class ListCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ListCell(SortListView* list, int row, int column) : view(list), row(row), column(column) {}

    bool isValid() const override {
        return !view.isNull() && row < view->Model().rowCount() && !view->isColumnHidden(column);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessible::Role role() const override {
        return row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QString text(QAccessible::Text type) const override {
        if (row < 0) {
            return type == QAccessible::Name
                       ? view->Model().headerData(column, Qt::Horizontal).toString()
                       : QString();
        }
        const QModelIndex index = view->Model().index(row, column);
        switch (type) {
            case QAccessible::Name:
                return index.data(Qt::DisplayRole).toString();
            case QAccessible::Description:
                return index.data(Qt::AccessibleDescriptionRole).toString();
            default:
                return {};
        }
    }

    QRect rect() const override {
        if (row < 0) {
            const QHeaderView* header = view->horizontalHeader();
            const QRect section(header->sectionViewportPosition(column), 0,
                                header->sectionSize(column), header->height());
            return QRect(header->viewport()->mapToGlobal(section.topLeft()), section.size());
        }
        const QRect cell = view->visualRect(view->Model().index(row, column));
        return QRect(view->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        const QRect shown = view->viewport()->rect();
        if (row >= 0) {
            const QModelIndex index = view->Model().index(row, column);
            state.selectable = true;
            state.selected = isSelected();
            state.focusable = true;
            state.focused = view->hasFocus() && view->currentIndex() == index;
            state.offscreen = !shown.intersects(view->visualRect(index));
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    // QAccessibleTableCellInterface
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return {Table()->Cell(-1, column)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return Table()->ShownColumn(column); }
    int rowIndex() const override { return row; }
    bool isSelected() const override { return row >= 0 && view->Model().IsSelected(row); }
    QAccessibleInterface* table() const override { return parent(); }

private:
    ListAccessible* Table() const { return static_cast<ListAccessible*>(parent()); }

    QPointer<SortListView> view;
    int row;
    int column;
};

}  // namespace

ListAccessible::ListAccessible(SortListView* list) : QAccessibleWidget(list, QAccessible::Table) {}

ListAccessible::~ListAccessible() {
    Forget();
}

void ListAccessible::Forget() {
    for (const auto& [key, id] : cells) {
        QAccessible::deleteAccessibleInterface(id);
    }
    cells.clear();
}

SortListView* ListAccessible::List() const {
    return static_cast<SortListView*>(widget());
}

void* ListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

int ListAccessible::ModelColumn(int column) const {
    const QHeaderView* header = List()->horizontalHeader();
    for (int visual = 0, shown = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical) && shown++ == column) {
            return logical;
        }
    }
    return -1;
}

int ListAccessible::ShownColumn(int modelColumn) const {
    const QHeaderView* header = List()->horizontalHeader();
    if (modelColumn < 0 || modelColumn >= header->count() || header->isSectionHidden(modelColumn)) {
        return -1;
    }
    int shown = 0;
    for (int visual = 0; visual < header->visualIndex(modelColumn); ++visual) {
        shown += header->isSectionHidden(header->logicalIndex(visual)) ? 0 : 1;
    }
    return shown;
}

int ListAccessible::columnCount() const {
    const QHeaderView* header = List()->horizontalHeader();
    return header->count() - header->hiddenSectionCount();
}

int ListAccessible::rowCount() const {
    return List()->Model().rowCount();
}

QAccessibleInterface* ListAccessible::Cell(int row, int modelColumn) const {
    // Row -1, the headers', is kept as 0.
    const qint64 key = (static_cast<qint64>(row + 1) << 8) | modelColumn;
    if (const auto it = cells.find(key); it != cells.end()) {
        return QAccessible::accessibleInterface(it->second);
    }
    QAccessibleInterface* cell = new ListCell(List(), row, modelColumn);
    cells.emplace(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* ListAccessible::cellAt(int row, int column) const {
    const int modelColumn = ModelColumn(column);
    if (row < 0 || row >= rowCount() || modelColumn < 0) {
        return nullptr;
    }
    return Cell(row, modelColumn);
}

QString ListAccessible::columnDescription(int column) const {
    return List()->Model().headerData(ModelColumn(column), Qt::Horizontal).toString();
}

int ListAccessible::childCount() const {
    return (rowCount() + 1) * columnCount();
}

QAccessibleInterface* ListAccessible::child(int index) const {
    const int columns = columnCount();
    if (index < 0 || columns == 0 || index >= childCount()) {
        return nullptr;
    }
    const int modelColumn = ModelColumn(index % columns);
    return Cell(index / columns - 1, modelColumn);
}

int ListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (const auto& [key, id] : cells) {
        if (QAccessible::accessibleInterface(id) == child) {
            const int row = static_cast<int>(key >> 8) - 1;
            const int shown = ShownColumn(static_cast<int>(key & 0xFF));
            return shown < 0 ? -1 : (row + 1) * columnCount() + shown;
        }
    }
    return -1;
}

int ListAccessible::ChildIndexOf(const QModelIndex& index) const {
    const int shown = ShownColumn(index.column());
    return !index.isValid() || shown < 0 ? -1 : (index.row() + 1) * columnCount() + shown;
}

QAccessibleInterface* ListAccessible::childAt(int x, int y) const {
    const QPoint at = List()->viewport()->mapFromGlobal(QPoint(x, y));
    const int index = ChildIndexOf(List()->indexAt(at));
    return index < 0 ? nullptr : child(index);
}

int ListAccessible::selectedCellCount() const {
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> ListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> selected;
    for (const int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column) {
            selected << cellAt(row, column);
        }
    }
    return selected;
}

int ListAccessible::selectedRowCount() const {
    return List()->Model().SelectedCount();
}

QList<int> ListAccessible::selectedRows() const {
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowSelected(row)) {
            rows << row;
        }
    }
    return rows;
}

bool ListAccessible::isRowSelected(int row) const {
    return row >= 0 && row < rowCount() && List()->Model().IsSelected(row);
}

// Through the view's selection, as a click would, so the window follows.
bool ListAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return false;
    }
    List()->selectionModel()->select(List()->Model().index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return true;
}

bool ListAccessible::unselectRow(int row) {
    if (!isRowSelected(row)) {
        return false;
    }
    List()->selectionModel()->select(List()->Model().index(row, 0),
                                     QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
}

void ListAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    Forget();
}

}  // namespace rizo
