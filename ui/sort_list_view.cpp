// The main window's file list view.
#include "ui/sort_list_view.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPalette>

#include <algorithm>

namespace rizo {
namespace {

constexpr int kRowHeight = 20;
const char* const kMonoFamily = "Courier New";

}  // namespace

SortListView::SortListView(const std::array<int32_t, kColumnCount>& widths, bool useMonoFont,
                           QWidget* parent)
    : QTableView(parent), model(new FileListModel(this)) {
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
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    SetUpColumns(widths);
}

void SortListView::SetUpColumns(const std::array<int32_t, kColumnCount>& widths) {
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    for (int column = 0; column < kColumnCount; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, widths[column]);
    }
    connect(header, &QHeaderView::sectionClicked, this, &SortListView::SortByHeaderClick);
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
    if (model->RowCount() == 0) {
        return;
    }
    model->SortByColumn(column, sortDirection > 0);
}

}  // namespace rizo
