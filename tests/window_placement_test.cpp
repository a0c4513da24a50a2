// SPDX-License-Identifier: MIT
// Start-up placement from the stored position and size, and the state captured at exit.
#include "settings/window_placement.h"

#include <gtest/gtest.h>

namespace rizo {
namespace {

TEST(WindowPlacement, StoredPositionIsUsedOnlyWhenOnScreen) {
    struct Case {
        int32_t x, y, cx, cy;
        bool centre;
        WindowRect rect;
        int32_t keptCx, keptCy;
    };
    const ScreenSize screen{1920, 1080};
    const Case cases[] = {
        {-1, -1, 900, 550, true, {0, 0, 900, 550}, 900, 550},
        {0, 100, 900, 550, true, {0, 0, 900, 550}, 900, 550},
        {100, 0, 900, 550, true, {0, 0, 900, 550}, 900, 550},
        {100, 50, 1000, 600, false, {100, 50, 1100, 650}, 1000, 600},
        {1920, 50, 900, 550, true, {0, 0, 900, 550}, 900, 550},
        {1919, 1079, 900, 550, false, {1919, 1079, 2819, 1629}, 900, 550},
        {100, 50, 2000, 600, false, {100, 50, 1000, 600}, 900, 550},
        {-5, 50, 1000, 1081, true, {0, 0, 900, 550}, 900, 550},
        {100, 50, 1920, 1080, false, {100, 50, 2020, 1130}, 1920, 1080},
    };
    for (const Case& c : cases) {
        ProgramSettings settings;
        settings.X = c.x;
        settings.Y = c.y;
        settings.Cx = c.cx;
        settings.Cy = c.cy;
        StartupPlacement placement = ComputeStartupPlacement(settings, screen);
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.cx << "x" << c.cy);
        EXPECT_EQ(placement.centre, c.centre);
        EXPECT_EQ(placement.rect, c.rect);
        EXPECT_EQ(settings.Cx, c.keptCx);
        EXPECT_EQ(settings.Cy, c.keptCy);
    }
}

TEST(WindowPlacement, CentringStaysInsideTheWorkArea) {
    struct Case {
        int32_t width, height;
        WindowRect workArea;
        WindowRect expected;
    };
    const Case cases[] = {
        {900, 550, {0, 0, 1920, 1040}, {510, 245, 1410, 795}},
        {900, 550, {0, 40, 1920, 1080}, {510, 285, 1410, 835}},
        {1000, 600, {100, 0, 1000, 500}, {100, 0, 1100, 600}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CentreInWorkArea(c.width, c.height, c.workArea), c.expected) << c.width;
    }
}

// Where the display does not tell a window its place (Wayland), the saved one stays.
TEST(WindowPlacement, CaptureTakesSizeFromMinimumUpAndPositionWhereKnown) {
    struct Case {
        WindowRect normal;
        bool placeKnown;
        int32_t cx, cy, x, y;
    };
    const Case cases[] = {
        {{100, 50, 1100, 650}, true, 1000, 600, 100, 50},
        {{10, 20, 810, 500}, true, 800, 480, 10, 20},
        {{-30, 5, 769, 705}, true, 900, 550, -30, 5},
        {{0, 0, 1200, 479}, true, 900, 550, 0, 0},
        {{0, 0, 1000, 600}, false, 1000, 600, 70, 80},
    };
    const std::array<int32_t, kListColumnCount> widths{1, 2, 420, 4, 5, 6, 7, 8, 9, 10};
    for (const Case& c : cases) {
        ProgramSettings settings;
        settings.X = 70;
        settings.Y = 80;
        CaptureWindowState(settings, c.normal, widths, c.placeKnown);
        EXPECT_EQ(settings.Cx, c.cx);
        EXPECT_EQ(settings.Cy, c.cy);
        EXPECT_EQ(settings.X, c.x);
        EXPECT_EQ(settings.Y, c.y);
        EXPECT_EQ(settings.ColumnWidth, widths);
    }
}

}  // namespace
}  // namespace rizo
