// SPDX-License-Identifier: MIT
// Status bar panes: count and progress texts, layout, menu prompts.
#include "ui/status_panes.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace rizo {
namespace {

TEST(StatusPanes, FileCountText) {
    const std::pair<long, std::string> cases[] = {
        {0, ""}, {1, "1 file"}, {2, "2 files"}, {12, "12 files"}, {100000, "100000 files"}};
    for (const auto& [rows, text] : cases) {
        EXPECT_EQ(FileCountText(rows), text) << rows;
    }
}

TEST(StatusPanes, ProgressTextShowsFromAThousandthOfAPercent) {
    const std::pair<float, std::string> cases[] = {
        {0.0f, ""},
        {0.0005f, ""},
        {0.1f, "0.1%"},
        {42.5f, "42.5%"},
        {100.0f, "100.0%"},
        {-3.0f, ""},
        {std::numeric_limits<float>::quiet_NaN(), ""},
    };
    for (const auto& [progress, text] : cases) {
        EXPECT_EQ(ProgressText(progress), text) << progress;
    }
}

struct Window {
    QMainWindow frame;
    StatusPanes panes{*frame.statusBar()};
    Window() {
        frame.resize(1000, 300);
        frame.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    QLabel* Pane(int id) {
        return frame.statusBar()->findChild<QLabel*>(QStringLiteral("pane%1").arg(id));
    }
};

TEST(StatusPanes, FourEmptyFixedPanesFromTheLeftWithASizeGrip) {
    Window window;
    const int ids[] = {1300, 1301, 1302, 1303};
    const int rightEdges[] = {80, 130, 480, 880};
    for (int pane = 0; pane < 4; ++pane) {
        QLabel* label = window.Pane(ids[pane]);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->text().isEmpty());
        // Edges count from where the bar's content starts, inside its own small margin.
        const QWidget* bar = window.frame.statusBar();
        const int origin = window.Pane(ids[0])->mapTo(bar, QPoint(0, 0)).x();
        const int left = label->mapTo(bar, QPoint(0, 0)).x() - origin;
        EXPECT_EQ(left, pane == 0 ? 0 : rightEdges[pane - 1]) << ids[pane];
        EXPECT_EQ(left + label->width(), rightEdges[pane]) << ids[pane];
    }
    EXPECT_TRUE(window.frame.statusBar()->isSizeGripEnabled());
}

// An 18 point font widens every pane alike, enough for a count of thousands and a full
// percentage; the usual font leaves the widths the pane table gives.
TEST(StatusPanes, ALargeFontWidensThePanesSoTheirTextsFit) {
    Window window;
    window.panes.UpdateFileCount(1204);
    window.panes.ShowProgress(100.0f, "a", "/");
    const int widths[] = {80, 50, 350, 400};
    QFont large = window.frame.font();
    large.setPointSize(18);
    window.frame.setFont(large);
    const double scale = window.Pane(1300)->width() / 80.0;
    EXPECT_GT(scale, 1.5);
    for (int pane = 0; pane < 4; ++pane) {
        QLabel* label = window.Pane(1300 + pane);
        EXPECT_NEAR(label->width(), widths[pane] * scale, 1.0 + scale) << pane;
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    }
    window.frame.setFont(QFont());
    for (int pane = 0; pane < 4; ++pane) {
        EXPECT_EQ(window.Pane(1300 + pane)->width(), widths[pane]) << pane;
    }
}

TEST(StatusPanes, CountAndProgressFillTheirPanes) {
    Window window;
    window.panes.UpdateFileCount(2);
    window.panes.ShowProgress(42.5f, "caf\xC3\xA9.iso", "/srv/");
    EXPECT_EQ(window.Pane(1302)->text(), QString::fromUtf8("café.iso"));
    EXPECT_EQ(window.Pane(1303)->text(), "/srv/");
    window.panes.ShowProgress(0.0f, "", "");
    EXPECT_EQ(window.Pane(1301)->text(), "");
    EXPECT_EQ(window.Pane(1302)->text(), "");
    EXPECT_EQ(window.Pane(1300)->text(), "2 files");
}

}  // namespace
}  // namespace rizo
