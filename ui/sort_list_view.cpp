// SPDX-License-Identifier: MIT
// The main window's file list view.
#include "ui/sort_list_view.h"

#include "ui/list_accessible.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPalette>
#include <QStyledItemDelegate>

#include <algorithm>

namespace rizo {
namespace {

constexpr int kRowHeight = 20;
const char* const kMonoFamily = "Courier New";

// The shape of each column's widest value: 'h' a hexadecimal digit of either case, '#' a decimal
// digit. Sizes up to 99 GB; names and paths have no widest value, their width is the user's.
constexpr std::array<const char*, kColumnCount> kWidestShapes = {
    "",
    "hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh",
    "hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh",
    "hhhhhhhh",
    "hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh",
    "##,###,###,###",
    "####-##-## ##:##",
    "####-##-## ##:##",
    "",
    "",
};

QChar WidestOf(const QFontMetrics& metrics, QLatin1StringView characters) {
    return *std::max_element(characters.begin(), characters.end(), [&](QChar a, QChar b) {
        return metrics.horizontalAdvance(a) < metrics.horizontalAdvance(b);
    });
}

QString WidestValue(int column, const QFontMetrics& metrics) {
    const QChar hex = WidestOf(metrics, QLatin1StringView("0123456789abcdefABCDEF"));
    const QChar digit = WidestOf(metrics, QLatin1StringView("0123456789"));
    QString value = QString::fromLatin1(kWidestShapes[column]);
    value.replace(QLatin1Char('h'), hex).replace(QLatin1Char('#'), digit);
    return value;
}

// Sizes are numbers: cut short, they keep their last digits and lose the first to the ellipsis.
class LeftElidingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideLeft;
    }
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(SortListView::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new ListAccessible(static_cast<SortListView*>(object));
    }
    return nullptr;
}

}  // namespace

SortListView::SortListView(const std::array<int32_t, kColumnCount>& widths, bool useMonoFont,
                           QWidget* parent)
    : QTableView(parent), model(new FileListModel(this)) {
    static const bool accessible = (QAccessible::installFactory(MakeAccessible), true);
    (void)accessible;
    setWindowTitle(QStringLiteral("File List"));
    setAccessibleName(QStringLiteral("File List"));
    setModel(model);
    QItemSelectionModel* own = selectionModel();
    setSelectionModel(model->SelectionModel());
    delete own;

    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);
    // The selection stays as visible when the list loses the focus.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setBrush(QPalette::Inactive, role, colours.brush(QPalette::Active, role));
    }
    setPalette(colours);

    if (useMonoFont) {
        UseMonoFont();
    }
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    FitRowHeight();
    SetUpColumns(widths);
}

// Rows are 20 pixels high unless the font needs more: a large font's text would be cut.
void SortListView::FitRowHeight() {
    // With the warning mark that a failed row has beside its name.
    const int height = std::max(kRowHeight, CellSizeFor(QStringLiteral("Ag"), true).height());
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void SortListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    TellScreenReaders(QAccessible::Focus, current);
    // QTableView's own would name the cell as its table counts them, hidden columns included.
    QAbstractItemView::currentChanged(current, previous);
}

void SortListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    TellScreenReaders(QAccessible::SelectionAdd,
                      selected.isEmpty() ? QModelIndex() : QModelIndex(selected.first().topLeft()));
    TellScreenReaders(
        QAccessible::SelectionRemove,
        deselected.isEmpty() ? QModelIndex() : QModelIndex(deselected.first().topLeft()));
    QAbstractItemView::selectionChanged(selected, deselected);
}

void SortListView::TellScreenReaders(QAccessible::Event type, const QModelIndex& index) {
    if (!QAccessible::isActive() || !index.isValid()) {
        return;
    }
    auto* table = static_cast<ListAccessible*>(QAccessible::queryAccessibleInterface(this));
    const int child = table->ChildIndexOf(index);
    if (child >= 0) {
        QAccessibleEvent event(this, type);
        event.setChild(child);
        QAccessible::updateAccessibility(&event);
    }
}

void SortListView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitRowHeight();
    }
}

void SortListView::SetUpColumns(const std::array<int32_t, kColumnCount>& widths) {
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    for (int column = 0; column < kColumnCount; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, widths[column]);
    }
    // The verdict stands beside the name, where it is seen first; it shows only once a checksum
    // file has been verified.
    header->moveSection(header->visualIndex(kColVerdict), 1);
    connect(header, &QHeaderView::sectionClicked, this, &SortListView::SortByHeaderClick);
    // The header turns its arrow on every click by itself; it is to show the last sort made.
    connect(header, &QHeaderView::sortIndicatorChanged, this, &SortListView::ShowSortArrow);
    setItemDelegateForColumn(kColSize, new LeftElidingDelegate(this));
    SetColumnHidden(kColVerdict, true);
}

void SortListView::WidenToFit(int column) {
    QHeaderView* header = horizontalHeader();
    const QString widest = WidestValue(column, QFontMetrics(font()));
    const int needed = std::max(header->sectionSizeHint(column),
                                widest.isEmpty() ? 0 : CellSizeFor(widest, false).width());
    if (header->sectionSize(column) < needed) {
        header->resizeSection(column, needed);
    }
}

void SortListView::WidenToShow(int column, const QString& text, int most) {
    QHeaderView* header = horizontalHeader();
    const int needed = std::min(CellSizeFor(text, true).width(), most);
    if (!text.isEmpty() && header->sectionSize(column) < needed) {
        header->resizeSection(column, needed);
    }
}

// What the item delegate asks for a cell showing `text`, and the grid lines beside and below it.
QSize SortListView::CellSizeFor(const QString& text, bool withMark) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    if (withMark) {
        option.features |= QStyleOptionViewItem::HasDecoration;
    }
    option.text = text;
    const int grid = showGrid() ? 1 : 0;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this) +
           QSize(grid, grid);
}

void SortListView::UseMonoFont() {
    QFont mono = font();
    mono.setFamily(QFontDatabase::hasFamily(kMonoFamily)
                       ? QString::fromLatin1(kMonoFamily)
                       : QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    setFont(mono);
}

void SortListView::SetColumnHidden(int column, bool hidden) {
    ColumnSlot& slot = columnSlots[column];
    if (slot.hidden == hidden) {
        // Hiding twice would keep the hidden width 0 and lose the width to restore.
        return;
    }
    slot.hidden = hidden;
    // The shown columns are the accessible table's: it is made anew.
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
    QHeaderView* header = horizontalHeader();
    if (hidden) {
        slot.savedWidth = header->sectionSize(column);
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->setSectionHidden(column, true);
        return;
    }
    header->setSectionHidden(column, false);
    // A column hidden at width 0 comes back at width 0.
    header->resizeSection(column, std::max(slot.savedWidth, 0));
    header->setSectionResizeMode(column, QHeaderView::Interactive);
}

int SortListView::ReportedColumnWidth(int column) const {
    const ColumnSlot& slot = columnSlots[column];
    return slot.hidden ? slot.savedWidth : horizontalHeader()->sectionSize(column);
}

void SortListView::SortByHeaderClick(int column) {
    if (!sortable) {
        return;
    }
    sortDirection = column == sortColumn ? -sortDirection : 1;
    sortColumn = column;
    ShowSortArrow();
    if (model->RowCount() == 0) {
        return;
    }
    model->SortByColumn(column, sortDirection > 0);
}

void SortListView::ShowSortArrow() {
    const Qt::SortOrder order = sortDirection < 0 ? Qt::DescendingOrder : Qt::AscendingOrder;
    QHeaderView* header = horizontalHeader();
    if (header->sortIndicatorSection() != sortColumn || header->sortIndicatorOrder() != order) {
        header->setSortIndicator(sortColumn, order);
    }
}

}  // namespace rizo
