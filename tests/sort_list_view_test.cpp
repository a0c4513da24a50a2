// SPDX-License-Identifier: MIT
// File list view: columns, header-click sorting, hidden columns, colours as drawn, font.
#include "ui/sort_list_view.h"

#include "ui/list_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace rizo {
namespace {

const std::array<int32_t, kColumnCount> kWidths = {150, 230, 270, 80, 460, 90, 120, 121, 300, 140};

struct ShownList {
    SortListView view{kWidths, false};
    ShownList() {
        view.resize(900, 400);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    FileListModel& model() { return view.Model(); }
    void AddSizes(const std::vector<std::string>& sizes) {
        for (const std::string& size : sizes) {
            model().SetCellText(model().InsertRow("f" + size), kColSize, size);
        }
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < model().RowCount(); ++row) {
            texts.push_back(model().CellText(row, column));
        }
        return texts;
    }
    QPoint HeaderPoint(int column) {
        QHeaderView* header = view.horizontalHeader();
        return {header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                header->height() / 2};
    }
    void ClickHeader(int column) {
        QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, {},
                          HeaderPoint(column));
    }
    QColor PixelOfRow(int row) {
        QImage image = view.viewport()->grab().toImage();
        return image.pixelColor(view.columnViewportPosition(kColFilename) + 40,
                                view.rowViewportPosition(row) + 10);
    }
};

TEST(SortListView, ShowsReportColumnsWithSettingsWidths) {
    ShownList list;
    const char* titles[] = {"Filename", "MD5",          "SHA1",          "CRC32",     "SHA256",
                            "Size",     "Date Created", "Date Modified", "Full Path", "Verdict"};
    const Qt::Alignment horizontal[] = {
        Qt::AlignLeft,  Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter,
        Qt::AlignRight, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignLeft,    Qt::AlignLeft};
    ASSERT_EQ(list.model().columnCount(), kColumnCount);
    list.model().InsertRow("r");
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_EQ(list.model().headerData(column, Qt::Horizontal).toString(), titles[column]);
        // The verdict column waits hidden until a checksum file is verified.
        EXPECT_EQ(list.view.columnWidth(column), column == kColVerdict ? 0 : kWidths[column]);
        EXPECT_EQ(list.view.ReportedColumnWidth(column), kWidths[column]);
        auto alignment =
            list.model().data(list.model().index(0, column), Qt::TextAlignmentRole).toInt();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, horizontal[column]) << column;
    }
    EXPECT_EQ(list.view.rowHeight(0), 20);
    EXPECT_TRUE(list.view.showGrid());
    EXPECT_EQ(list.view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list.view.selectionModel(), list.model().SelectionModel());
}

TEST(SortListView, HeaderClicksSortAscendingThenDescendingThenAscending) {
    ShownList list;
    list.AddSizes({"999", "1,000", "20"});
    struct Click {
        int column;
        std::vector<std::string> sizes;
        int direction;
    };
    const Click clicks[] = {
        {kColSize, {"1,000", "20", "999"}, 1},     {kColSize, {"999", "20", "1,000"}, -1},
        {kColSize, {"1,000", "20", "999"}, 1},     {kColSize, {"999", "20", "1,000"}, -1},
        {kColFilename, {"1,000", "20", "999"}, 1},
    };
    QHeaderView* header = list.view.horizontalHeader();
    for (const Click& click : clicks) {
        list.ClickHeader(click.column);
        EXPECT_EQ(list.Column(kColSize), click.sizes);
        EXPECT_EQ(list.view.SortColumn(), click.column);
        EXPECT_EQ(list.view.SortDirection(), click.direction);
        EXPECT_EQ(header->sortIndicatorSection(), click.column);
        EXPECT_EQ(header->sortIndicatorOrder(),
                  click.direction > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
}

// Clicks on an empty list set the column and direction that the next rows are sorted by; while
// the list is not sortable, a click changes neither them nor the arrow.
TEST(SortListView, HeaderClickOnEmptyListCountsAndWhileNotSortableChangesNothing) {
    ShownList list;
    list.ClickHeader(kColMd5);
    list.ClickHeader(kColMd5);
    EXPECT_EQ(list.view.SortColumn(), kColMd5);
    EXPECT_EQ(list.view.SortDirection(), -1);
    list.AddSizes({"b", "a"});
    list.view.SetSortable(false);
    list.ClickHeader(kColSize);
    EXPECT_EQ(list.Column(kColSize), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(list.view.SortColumn(), kColMd5);
    EXPECT_EQ(list.view.SortDirection(), -1);
    EXPECT_EQ(list.view.horizontalHeader()->sortIndicatorSection(), kColMd5);
    list.view.SetSortable(true);
    list.ClickHeader(kColSize);
    EXPECT_EQ(list.Column(kColSize), (std::vector<std::string>{"a", "b"}));
}

TEST(SortListView, HiddenColumnKeepsItsWidthAndCannotBeResized) {
    ShownList list;
    QHeaderView* header = list.view.horizontalHeader();
    list.view.SetColumnHidden(kColSha1, true);
    EXPECT_TRUE(list.view.IsColumnHidden(kColSha1));
    EXPECT_EQ(list.view.columnWidth(kColSha1), 0);
    EXPECT_EQ(list.view.ReportedColumnWidth(kColSha1), kWidths[kColSha1]);
    EXPECT_EQ(header->sectionResizeMode(kColSha1), QHeaderView::Fixed);

    // Hiding twice keeps the width to restore.
    list.view.SetColumnHidden(kColSha1, true);
    list.view.SetColumnHidden(kColSha1, false);
    EXPECT_EQ(list.view.columnWidth(kColSha1), kWidths[kColSha1]);
    EXPECT_EQ(header->sectionResizeMode(kColSha1), QHeaderView::Interactive);

    // A column hidden at width 0 comes back at width 0.
    list.view.setColumnWidth(kColCrc32, 0);
    list.view.SetColumnHidden(kColCrc32, true);
    EXPECT_EQ(list.view.ReportedColumnWidth(kColCrc32), 0);
    list.view.SetColumnHidden(kColCrc32, false);
    EXPECT_FALSE(header->isSectionHidden(kColCrc32));
    EXPECT_EQ(list.view.columnWidth(kColCrc32), 0);
}

// The height the cells of the first row need, as the view's delegates say.
int RowNeeds(const SortListView& view) {
    return static_cast<const QAbstractItemView&>(view).sizeHintForRow(0);
}

// Rows are 20 pixels high in the usual font; an 18 point one, set before or after the list is
// made, makes them as high as a cell with its warning mark needs, so no text is cut.
TEST(SortListView, RowsAre20PixelsHighUnlessALargeFontNeedsMore) {
    const QFont usual = QApplication::font();
    ShownList list;
    list.AddSizes({"1"});
    list.model().SetRowNote(0, "gone", RowNote::kFailure);
    EXPECT_EQ(list.view.rowHeight(0), 20);
    EXPECT_LE(RowNeeds(list.view), 20);
    QFont large = usual;
    large.setPointSize(18);
    list.view.setFont(large);
    EXPECT_GT(list.view.rowHeight(0), 20);
    EXPECT_GE(list.view.rowHeight(0), RowNeeds(list.view));
    EXPECT_GT(list.view.rowHeight(0), list.view.fontMetrics().height());
    QApplication::setFont(large);
    ShownList madeLarge;
    madeLarge.AddSizes({"1"});
    QApplication::setFont(usual);
    EXPECT_EQ(madeLarge.view.rowHeight(0), list.view.rowHeight(0));
}

// Screen readers hear why a row failed as the description of each of its cells.
TEST(SortListView, AFailedRowsReasonIsTheAccessibleDescriptionOfItsCells) {
    ShownList list;
    list.AddSizes({"1", "2"});
    list.model().SetRowNote(1, "Permission denied", RowNote::kFailure);
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(&list.view)->tableInterface();
    ASSERT_NE(table, nullptr);
    for (const int column : {kColFilename, kColSize}) {
        EXPECT_EQ(table->cellAt(1, column)->text(QAccessible::Description), "Permission denied");
        EXPECT_EQ(table->cellAt(0, column)->text(QAccessible::Description), "");
    }
    list.model().SetRowNote(1, "", RowNote::kFailure);
    EXPECT_EQ(table->cellAt(1, kColFilename)->text(QAccessible::Description), "");
}

// The children's names, headers first.
QStringList ChildNames(QAccessibleInterface* table) {
    QStringList names;
    for (int i = 0; i < table->childCount(); ++i) {
        names << table->child(i)->text(QAccessible::Name);
    }
    return names;
}

// Screen readers see the shown columns only, in the order shown, and the cell that takes the focus
// is named by its place among them (the offscreen platform has no accessibility bridge to send the
// events to).
TEST(SortListView, ScreenReadersSeeOnlyTheShownColumnsInTheirOrder) {
    ShownList list;
    list.AddSizes({"1", "22"});
    list.view.SetColumnHidden(kColSha1, true);
    list.view.SetColumnHidden(kColCrc32, true);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&list.view);
    QAccessibleTableInterface* table = accessible->tableInterface();
    ASSERT_EQ(table->columnCount(), 7);
    EXPECT_EQ(table->rowCount(), 2);
    const QStringList headers = {"Filename",     "MD5",           "SHA256",   "Size",
                                 "Date Created", "Date Modified", "Full Path"};
    const QStringList cells = {"f1", "", "", "1", "", "", "", "f22", "", "", "22", "", "", ""};
    EXPECT_EQ(ChildNames(accessible), headers + cells);
    QAccessibleInterface* cell = table->cellAt(1, 3);
    EXPECT_EQ(cell->text(QAccessible::Name), "22");
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 3);
    EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells()[0]->text(QAccessible::Name), "Size");
    EXPECT_EQ(accessible->indexOfChild(cell), 2 * 7 + 3);

    list.view.SetColumnHidden(kColVerdict, false);
    list.view.SetColumnHidden(kColSha256, true);
    EXPECT_EQ(ChildNames(accessible).mid(0, 7),
              (QStringList{"Filename", "Verdict", "MD5", "Size", "Date Created", "Date Modified",
                           "Full Path"}));

    // What focus and selection events name.
    const int focused =
        static_cast<ListAccessible*>(accessible)->ChildIndexOf(list.model().index(1, kColSize));
    EXPECT_EQ(accessible->child(focused)->text(QAccessible::Name), "22");
    EXPECT_EQ(
        static_cast<ListAccessible*>(accessible)->ChildIndexOf(list.model().index(1, kColSha256)),
        -1);
}

TEST(SortListView, DrawsDuplicateColourAndHighlightOverIt) {
    ShownList list;
    list.AddSizes({"1", "2", "3"});
    list.view.SetRowBackColour(1, 0xFFE1CB);
    EXPECT_EQ(list.PixelOfRow(1), QColor(0xFF, 0xE1, 0xCB));
    list.view.SetHighlightRow(1);
    EXPECT_EQ(list.view.HighlightRow(), 1);
    EXPECT_EQ(list.PixelOfRow(1), QColor(0x00, 0x00, 0xF0));
    list.view.SetHighlightRow(-1);
    EXPECT_EQ(list.PixelOfRow(1), QColor(0xFF, 0xE1, 0xCB));
}

// Narrow widths widened to the font show the longest sizes, digests in capitals and dates in
// full, in both fonts; a column wider than needed keeps its width.
TEST(SortListView, WidenToFitShowsTheWidestValuesInFull) {
    const std::array<std::string, kColumnCount> widest = {
        "",
        "D41D8CD98F00B204E9800998ECF8427E",
        "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709",
        "FFFFFFFF",
        "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855",
        "85,368,709,120",
        "2026-12-08 20:08",
        "2038-01-19 03:14",
        ""};
    for (const bool mono : {false, true}) {
        std::array<int32_t, kColumnCount> narrow{};
        narrow.fill(10);
        narrow[kColFilename] = 400;
        SortListView view(narrow, mono);
        view.resize(2000, 200);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        const int row = view.Model().InsertRow("f");
        for (int column = 0; column < kColumnCount; ++column) {
            view.Model().SetCellText(row, column, widest[column]);
            view.WidenToFit(column);
        }
        // The view's own measure of its cells, as a double click on a divider applies it.
        const QAbstractItemView& measure = view;
        // The verdict column stays hidden until a checksum file is verified.
        for (int column = 1; column <= kColFullPath; ++column) {
            EXPECT_GE(view.columnWidth(column), measure.sizeHintForColumn(column))
                << mono << column;
            EXPECT_GE(view.columnWidth(column), view.horizontalHeader()->sectionSizeHint(column));
        }
        EXPECT_EQ(view.columnWidth(kColFilename), 400);
    }
}

TEST(SortListView, MonoFontHasEqualAdvancesAndKeepsTheSize) {
    SortListView plain(kWidths, false);
    SortListView mono(kWidths, true);
    QFontMetrics metrics(mono.font());
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(mono.font().pointSizeF(), plain.font().pointSizeF());
    EXPECT_NE(mono.font().family(), plain.font().family());
}

}  // namespace
}  // namespace rizo
