// SPDX-License-Identifier: MIT
// Start-up placement and capture of the window state.
#include "settings/window_placement.h"

#include <algorithm>

namespace rizo {
namespace {

constexpr int32_t kDefaultWidth = 900;
constexpr int32_t kDefaultHeight = 550;
constexpr int32_t kMinimumWidth = 800;
constexpr int32_t kMinimumHeight = 480;

// Start of a span of `length` centred in [low, high). A span that fits stays inside; a longer
// one starts at `low`, so the window's title bar remains reachable.
int32_t CentreSpan(int32_t length, int32_t low, int32_t high) {
    return std::max(low + (high - low - length) / 2, low);
}

}  // namespace

StartupPlacement ComputeStartupPlacement(ProgramSettings& settings, ScreenSize screen) {
    const bool positionOnScreen =
        settings.X > 0 && settings.Y > 0 && settings.X < screen.width && settings.Y < screen.height;
    if (settings.Cx > screen.width || settings.Cy > screen.height) {
        settings.Cx = kDefaultWidth;
        settings.Cy = kDefaultHeight;
    }
    StartupPlacement placement;
    placement.centre = !positionOnScreen;
    placement.rect.left = placement.centre ? 0 : settings.X;
    placement.rect.top = placement.centre ? 0 : settings.Y;
    placement.rect.right = placement.rect.left + settings.Cx;
    placement.rect.bottom = placement.rect.top + settings.Cy;
    return placement;
}

WindowRect CentreInWorkArea(int32_t width, int32_t height, const WindowRect& workArea) {
    int32_t left = CentreSpan(width, workArea.left, workArea.right);
    int32_t top = CentreSpan(height, workArea.top, workArea.bottom);
    return {left, top, left + width, top + height};
}

void CaptureWindowState(ProgramSettings& settings, const WindowRect& normal,
                        std::span<const int32_t, kListColumnCount> columnWidths, bool placeKnown) {
    if (normal.Width() >= kMinimumWidth && normal.Height() >= kMinimumHeight) {
        settings.Cx = normal.Width();
        settings.Cy = normal.Height();
    }
    if (placeKnown) {
        settings.X = normal.left;
        settings.Y = normal.top;
    }
    std::copy(columnWidths.begin(), columnWidths.end(), settings.ColumnWidth.begin());
}

}  // namespace rizo
