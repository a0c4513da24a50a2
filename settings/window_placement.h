// SPDX-License-Identifier: MIT
// Main window size and position: applied from the settings at start, taken back at exit.
#pragma once

#include <cstdint>
#include <span>

#include "settings/program_settings.h"

namespace rizo {

// Screen coordinates in pixels; right and bottom lie just outside the rectangle.
struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const WindowRect&) const = default;
};

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

struct StartupPlacement {
    // Cx × Cy at (X, Y); at (0, 0) when `centre` is set.
    WindowRect rect;
    bool centre = false;
};

// Where the window opens on a screen of the given size. A stored position of 0 or less, or one
// off the screen, means "centre". A stored size larger than the screen is reset to 900 × 550 in
// the record as well, so the reset size is what the next save writes unless the user resizes.
StartupPlacement ComputeStartupPlacement(ProgramSettings& settings, ScreenSize screen);

// A rectangle of the given size centred in `workArea`; moved back inside where it would stick
// out right or below, but never left of or above the work area.
WindowRect CentreInWorkArea(int32_t width, int32_t height, const WindowRect& workArea);

// Takes the window's normal (restored) rectangle and the nine column widths into the record.
// Sizes below the 800 × 480 minimum are not taken; the position is, unless `placeKnown` says that
// the display never told the window where it is (Wayland): then the saved one stays.
void CaptureWindowState(ProgramSettings& settings, const WindowRect& normal,
                        std::span<const int32_t, kListColumnCount> columnWidths,
                        bool placeKnown = true);

}  // namespace rizo
