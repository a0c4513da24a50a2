// SPDX-License-Identifier: MIT
// Text colours that stay readable on the list's coloured rows in light and dark themes alike.
#pragma once

#include <cstdint>

namespace rizo {

// The contrast ordinary text needs to be read comfortably, and the enhanced one that the rows of a
// dark theme keep.
inline constexpr double kReadableContrast = 4.5;
inline constexpr double kEnhancedContrast = 7.0;

// How far apart two colours (0xRRGGBB) are in relative luminance, as the ratio
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black and white.
double ContrastRatio(uint32_t first, uint32_t second);

// Whether `text` stands out enough from `back` to be read comfortably.
bool ReadsWell(uint32_t text, uint32_t back);

// The theme's text colour `themeText` where its contrast with `back` is at least `needed`;
// otherwise black or white, whichever stands out more. A dark theme's light text would vanish on a
// pale colour.
uint32_t ReadableTextColour(uint32_t back, uint32_t themeText, double needed = kReadableContrast);

}  // namespace rizo
