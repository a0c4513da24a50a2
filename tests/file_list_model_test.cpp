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

#include <algorithm>
#include <cmath>
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
    list.model.SetRowNote(0, "changed while being read", RowNote::kFailure);
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
    list.model.SetRowNote(2, "", RowNote::kFailure);
    EXPECT_FALSE(Marked(list.model, 2, kColFilename));
    EXPECT_EQ(list.model.FailedCount(), 0);
    EXPECT_EQ(twenty.row(), 1);
    EXPECT_EQ(Selected(list.model, false), (std::vector<int>{1}));
    EXPECT_EQ(Selected(list.model, true), (std::vector<int>{1}));
}

// A failure is marked, a remark only explains, an absent file's row is dimmed without marks; the
// verdict's tooltip is always the whole verdict.
TEST(FileListModel, NotesAreTooltipsAndOnlyFailuresAreMarked) {
    FileListModel model;
    const std::string verdicts[] = {"UNREADABLE: Permission denied", "", "MISSING", "OK"};
    const RowNote kinds[] = {RowNote::kFailure, RowNote::kRemark, RowNote::kAbsent,
                             RowNote::kFailure};
    const std::string notes[] = {"Permission denied", "not reached: hashing was stopped",
                                 "No such file or directory", ""};
    for (int row = 0; row < 4; ++row) {
        model.InsertRow("f");
        model.SetCellText(row, kColVerdict, verdicts[row]);
        model.SetRowNote(row, notes[row], kinds[row]);
    }
    const auto tip = [&model](int row, int column) {
        return model.data(model.index(row, column), Qt::ToolTipRole).toString().toStdString();
    };
    const auto verdictMarked = [&model](int row) {
        return !model.data(model.index(row, kColVerdict), Qt::DecorationRole).isNull();
    };
    const std::vector<bool> marked = {true, false, false, false};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(tip(row, kColFilename), notes[row].empty() ? "f" : notes[row]) << row;
        EXPECT_EQ(tip(row, kColVerdict), verdicts[row]) << row;
        EXPECT_EQ(Marked(model, row, kColFilename), marked[row]) << row;
        EXPECT_EQ(verdictMarked(row), !verdicts[row].empty() && row != 2) << row;
        const QColor text = Foreground(model, row);
        EXPECT_EQ(text.isValid() && text.alpha() < 255, row == 2) << row;
    }
    EXPECT_EQ(model.FailedCount(), 1);
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

// OKLab coordinates of an sRGB colour, and its WCAG relative luminance, computed here apart from
// the program's own sums.
struct OkLab {
    double l, a, b;
};

double LinearLight(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(QColor c) {
    return 0.2126 * LinearLight(c.red()) + 0.7152 * LinearLight(c.green()) +
           0.0722 * LinearLight(c.blue());
}

double Contrast(QColor x, QColor y) {
    const double a = Luminance(x), b = Luminance(y);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

OkLab ToOkLab(QColor c) {
    const double r = LinearLight(c.red()), g = LinearLight(c.green()), b = LinearLight(c.blue());
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

double Distance(QColor x, QColor y) {
    const OkLab p = ToOkLab(x), q = ToOkLab(y);
    return std::hypot(p.l - q.l, p.a - q.a, p.b - q.b);
}

// Degrees between the hues of two colours, 0 to 180.
double HueDistance(QColor x, QColor y) {
    const OkLab p = ToOkLab(x), q = ToOkLab(y);
    const double degrees = std::abs(std::atan2(p.b, p.a) - std::atan2(q.b, q.a)) * 180 / M_PI;
    return std::min(degrees, 360 - degrees);
}

// The smallest distance between the backgrounds of neighbouring rows of the first `rows`.
double ClosestNeighbours(const FileListModel& model, int rows) {
    double closest = INFINITY;
    for (int row = 1; row < rows; ++row) {
        closest = std::min(closest, Distance(Background(model, row - 1), Background(model, row)));
    }
    return closest;
}

// A light theme shows the 90 colours as they are. A dark one (as its window colour says, whatever
// its text) shows them with their hues deepened: its text, or white where that reads better, at 7:1
// or more on each, and each told from the next at least as well as in the light palette and by
// more than twice a just noticeable difference (about 0.02 in OKLab). The rows follow the theme
// of the moment.
TEST(FileListModel, DarkThemeShowsTheNinetyColoursDeepenedWithTextAt7To1AndNeighboursApart) {
    const QPalette original = QGuiApplication::palette();
    FileListModel model;
    for (int group = 1; group <= kDuplicatePaletteSize; ++group) {
        model.SetRowBackColour(model.InsertRow("f"), DuplicateColour(group));
    }
    model.SetRowBackColour(model.InsertRow("other"), 0x123456);
    const int other = kDuplicatePaletteSize;
    std::vector<QColor> light;
    for (int row = 0; row < kDuplicatePaletteSize; ++row) {
        light.push_back(Background(model, row));
        EXPECT_EQ(light.back(), QColor(QRgb(DuplicateColour(row + 1)))) << row;
    }
    const double lightClosest = ClosestNeighbours(model, kDuplicatePaletteSize);
    for (const QColor themeText : {QColor(0xEF, 0xF0, 0xF1), QColor(0xB0, 0xB0, 0xB0)}) {
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(0x2A, 0x2E, 0x32));
        dark.setColor(QPalette::Base, QColor(0x1B, 0x1E, 0x20));
        dark.setColor(QPalette::Text, themeText);
        QGuiApplication::setPalette(dark);
        for (int row = 0; row < kDuplicatePaletteSize; ++row) {
            const QColor back = Background(model, row);
            EXPECT_LT(back.lightness(), light[row].lightness()) << row;
            EXPECT_LE(HueDistance(back, light[row]), 2.0) << row;
            EXPECT_GE(Contrast(Foreground(model, row), back), 7.0)
                << themeText.name().toStdString() << " row " << row;
        }
        EXPECT_EQ(Foreground(model, 0), themeText.lightness() > 200 ? themeText : Qt::white);
        EXPECT_GE(ClosestNeighbours(model, kDuplicatePaletteSize), std::max(lightClosest, 0.05));
        EXPECT_EQ(Background(model, other), QColor(0x12, 0x34, 0x56));
    }
    QGuiApplication::setPalette(original);
    EXPECT_EQ(Background(model, 0), light[0]);
}

}  // namespace
}  // namespace rizo
