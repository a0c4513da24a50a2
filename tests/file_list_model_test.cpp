// SPDX-License-Identifier: MIT
// File list model: Qt model contract, selection kept in step with the view, colours, failure
// marks and sorting.
#include "ui/file_list_model.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QSignalSpy>
#include <QTableView>

#include <gtest/gtest.h>

#include <random>

#include "filelist/duplicate_groups.h"
#include "ui/readable_text.h"

namespace rizo {
namespace {

QColor Background(const FileListModel& model, int row) {
    return model.data(model.index(row, 0), Qt::BackgroundRole).value<QColor>();
}

QColor Foreground(const FileListModel& model, int row) {
    return model.data(model.index(row, 0), Qt::ForegroundRole).value<QColor>();
}

void AddRows(FileListModel& model, int column, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        int row = model.InsertRow("f" + text);
        model.SetCellText(row, column, text);
    }
}

// The selected rows as the view's selection model holds them, or as the model's own store does.
std::vector<int> Selected(const FileListModel& model, bool inView) {
    std::vector<int> rows;
    for (int row = 0; row < model.RowCount(); ++row) {
        if (inView ? model.SelectionModel()->isRowSelected(row) : model.IsSelected(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

// A view attached as the frame attaches it, so that selection and persistent indexes are real.
struct ViewedModel {
    FileListModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QTableView view;
    ViewedModel() {
        view.setModel(&model);
        view.setSelectionModel(model.SelectionModel());
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
    }
};

TEST(FileListModel, KeepsTheModelContractThroughRandomEdits) {
    ViewedModel list;
    FileListModel& model = list.model;
    std::mt19937 random(7);
    for (int step = 0; step < 400; ++step) {
        const int rows = model.RowCount();
        const int row = rows > 0 ? static_cast<int>(random() % static_cast<unsigned>(rows)) : 0;
        switch (random() % 9) {
            case 0:
            case 1:
                model.InsertRow("n" + std::to_string(step));
                break;
            case 2:
                model.SetRedraw(false);
                model.InsertRow("a");
                model.InsertRow("b");
                model.SetRedraw(true);
                break;
            case 3:
                if (rows > 0) {
                    model.SetCellText(row, static_cast<int>(random() % kColumnCount),
                                      std::to_string(random() % 5));
                }
                break;
            case 4:
                if (rows > 0) {
                    model.SetSelected(row, random() % 2 == 0);
                }
                break;
            case 5:
                if (rows > 0) {
                    list.view.selectRow(row);
                }
                break;
            case 6:
                model.SortByColumn(static_cast<int>(random() % kColumnCount), random() % 2 == 0);
                break;
            case 7:
                if (rows > 0) {
                    model.DeleteRows({row});
                }
                break;
            default:
                if (random() % 8 == 0) {
                    model.DeleteAllRows();
                } else {
                    model.MarkDuplicates(kColMd5);
                }
        }
        QCoreApplication::processEvents();
        ASSERT_EQ(model.rowCount(), model.RowCount());
        ASSERT_EQ(Selected(model, true), Selected(model, false)) << "step " << step;
        ASSERT_EQ(static_cast<int>(Selected(model, false).size()), model.SelectedCount());
    }
}

// A user's selection made before the event loop runs starts from the store's; it is reported, a
// removal is not.
TEST(FileListModel, UserSelectionStartsFromTheStoresAndIsReportedButRemovalIsNot) {
    ViewedModel list;
    AddRows(list.model, kColMd5, {"a", "b", "c", "d", "e"});
    QSignalSpy edited(&list.model, &FileListModel::SelectionEdited);
    for (int row = 0; row < 5; ++row) {
        list.model.SetSelected(row, true);
    }
    list.model.SelectionModel()->select(list.model.index(3, 0),
                                        QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    EXPECT_EQ(Selected(list.model, false), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(Selected(list.model, true), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(edited.count(), 1);
    list.model.DeleteRows({1});
    EXPECT_EQ(edited.count(), 1);
    EXPECT_EQ(list.model.SelectedCount(), 3);
}

TEST(FileListModel, DeletingFewOrScatteredRowsKeepsTheOthersAndTheirSelection) {
    for (int step : {1, 2}) {
        ViewedModel list;
        std::vector<std::string> texts;
        for (int i = 0; i < 100; ++i) {
            texts.push_back(std::to_string(i));
        }
        AddRows(list.model, kColMd5, texts);
        std::vector<int> doomed;
        for (int row = 10; row < 90; row += step) {
            doomed.push_back(row);
        }
        list.model.SetSelected(95, true);
        QCoreApplication::processEvents();
        list.model.DeleteRows(doomed);
        QCoreApplication::processEvents();
        const int left = 100 - static_cast<int>(doomed.size());
        ASSERT_EQ(list.model.rowCount(), left);
        EXPECT_EQ(list.model.CellText(10, kColMd5), step == 1 ? "90" : "11");
        EXPECT_EQ(Selected(list.model, false), std::vector<int>{left - 5});
        EXPECT_EQ(Selected(list.model, true), std::vector<int>{left - 5});
    }
}

bool Marked(const FileListModel& model, int row, int column) {
    return !model.data(model.index(row, column), Qt::DecorationRole).value<QIcon>().isNull();
}

TEST(FileListModel, SortMovesSelectionColourFailureAndPersistentIndexesWithTheirRows) {
    ViewedModel list;
    AddRows(list.model, kColSize, {"999", "1,000", "20"});
    list.model.SetRowBackColour(0, 0xFFCBCB);
    list.model.SetRowFailure(0, "changed while being read");
    list.view.selectRow(2);
    QPersistentModelIndex twenty = list.model.index(2, kColSize);

    list.model.SortByColumn(kColSize, true);

    EXPECT_EQ(list.model.CellText(0, kColSize), "1,000");
    EXPECT_EQ(list.model.CellText(1, kColSize), "20");
    EXPECT_EQ(list.model.CellText(2, kColSize), "999");
    EXPECT_EQ(Background(list.model, 2), QColor(0xFF, 0xCB, 0xCB));
    EXPECT_FALSE(list.model.Colour(0).isSet);
    // The failed row's mark stands before its name and its reason is the tooltip of every cell.
    EXPECT_TRUE(Marked(list.model, 2, kColFilename));
    EXPECT_FALSE(Marked(list.model, 2, kColSize));
    EXPECT_FALSE(Marked(list.model, 0, kColFilename));
    EXPECT_EQ(list.model.data(list.model.index(2, kColSize), Qt::ToolTipRole).toString(),
              "changed while being read");
    EXPECT_EQ(list.model.data(list.model.index(0, kColSize), Qt::ToolTipRole).toString(), "1,000");
    list.model.SetRowFailure(2, "");
    EXPECT_FALSE(Marked(list.model, 2, kColFilename));
    EXPECT_EQ(list.model.FailedCount(), 0);
    EXPECT_EQ(twenty.row(), 1);
    EXPECT_EQ(Selected(list.model, false), (std::vector<int>{1}));
    EXPECT_EQ(Selected(list.model, true), (std::vector<int>{1}));
}

TEST(FileListModel, RowsAddedOrChangedWhileRedrawIsOffAreAnnouncedOnceWhenItResumes) {
    FileListModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.SetRedraw(false);
    EXPECT_EQ(model.InsertRow("a"), 0);
    EXPECT_EQ(model.InsertRow("b"), 1);
    model.SetCellText(1, kColFullPath, "/d/b");
    EXPECT_EQ(model.RowCount(), 2);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.FindRowByPath("/d/b"), 1);
    model.SetRedraw(true);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 1);
    EXPECT_EQ(model.rowCount(), 2);

    // Changes of shown rows reach the views as one change of the rows between them.
    model.InsertRow("c");
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.SetRedraw(false);
    model.SetCellText(2, kColMd5, "x");
    model.SetRowBackColour(0, 0x123456);
    EXPECT_EQ(changed.count(), 0);
    model.SetRedraw(true);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 2);
}

TEST(FileListModel, CellsShowTheirBytesAsLocalText) {
    FileListModel model;
    model.InsertRow("caf\xC3\xA9.txt");
    EXPECT_EQ(model.data(model.index(0, kColFilename)).toString(), QString::fromUtf8("café.txt"));
    EXPECT_EQ(model.data(model.index(0, kColFilename), Qt::ToolTipRole).toString(),
              QString::fromUtf8("café.txt"));
    EXPECT_FALSE(model.data(model.index(0, kColMd5), Qt::ToolTipRole).isValid());
}

TEST(FileListModel, MarkDuplicatesColoursGroupsOfEqualKeys) {
    FileListModel model;
    AddRows(model, kColMd5, {"x", "y", "x", "z", "y", ""});
    model.SetRowBackColour(3, 0x123456);
    model.MarkDuplicates(kColMd5);
    EXPECT_EQ(Background(model, 0), QColor(0xFF, 0xCB, 0xCB));
    EXPECT_EQ(Background(model, 2), QColor(0xFF, 0xCB, 0xCB));
    EXPECT_EQ(Background(model, 1), QColor(0xFF, 0xE1, 0xCB));
    EXPECT_EQ(Background(model, 4), QColor(0xFF, 0xE1, 0xCB));
    EXPECT_EQ(Background(model, 3), QColor(0x12, 0x34, 0x56));
    EXPECT_FALSE(model.Colour(5).isSet);
}

TEST(FileListModel, OnlyTheFirstNinetyGroupsAreColoured) {
    FileListModel model;
    for (int pass = 0; pass < 2; ++pass) {
        for (int key = 0; key < 91; ++key) {
            model.SetCellText(model.InsertRow("f"), kColSha1, "k" + std::to_string(key));
        }
    }
    model.MarkDuplicates(kColSha1);
    EXPECT_EQ(model.Colour(89).backColour, DuplicateColour(kDuplicatePaletteSize));
    EXPECT_EQ(model.Colour(91 + 89).backColour, DuplicateColour(kDuplicatePaletteSize));
    EXPECT_FALSE(model.Colour(90).isSet);
    EXPECT_FALSE(model.Colour(91 + 90).isSet);
}

// Every duplicate colour and the highlight of the row being hashed keep their text readable
// whether the theme's text is dark (a light theme) or light (a dark theme).
TEST(FileListModel, RowTextStaysReadableInLightAndDarkThemes) {
    ASSERT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
    ASSERT_DOUBLE_EQ(ContrastRatio(0x777777, 0x777777), 1.0);
    const QPalette original = QGuiApplication::palette();
    for (const QColor themeText : {QColor(0x20, 0x20, 0x20), QColor(0xF0, 0xF0, 0xF0)}) {
        QPalette theme = original;
        theme.setColor(QPalette::Text, themeText);
        QGuiApplication::setPalette(theme);
        FileListModel model;
        for (int group = 1; group <= kDuplicatePaletteSize + 1; ++group) {
            model.SetRowBackColour(model.InsertRow("f"),
                                   DuplicateColour(std::min(group, kDuplicatePaletteSize)));
        }
        model.SetHighlightRow(kDuplicatePaletteSize);
        for (int row = 0; row < model.RowCount(); ++row) {
            EXPECT_GE(ContrastRatio(Foreground(model, row).rgb() & 0xFFFFFFu,
                                    Background(model, row).rgb() & 0xFFFFFFu),
                      4.5)
                << themeText.name().toStdString() << " row " << row;
        }
        // A light theme's own text colour stays on the pale colours.
        if (themeText.lightness() < 128) {
            EXPECT_EQ(Foreground(model, 0), themeText);
        }
    }
    QGuiApplication::setPalette(original);
}

}  // namespace
}  // namespace rizo
