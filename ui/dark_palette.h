// SPDX-License-Identifier: MIT
// The duplicate colours as a dark theme shows them.
#pragma once

#include <cstdint>

class QPalette;

namespace rizo {

// Whether `palette` is a dark theme's: its window colour is darker than mid-grey.
bool IsDarkTheme(const QPalette& palette);

// Background 0xRRGGBB of duplicate group 1 to kDuplicatePaletteSize on a dark theme: the light
// entry's hue, deep enough that light text reads on it at 7:1 or better.
uint32_t DarkDuplicateColour(int group);

// The background a row coloured `colour` shows on a dark theme: a duplicate colour's deepened
// entry; any other colour as it is.
uint32_t OnDarkTheme(uint32_t colour);

}  // namespace rizo
