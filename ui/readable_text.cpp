// SPDX-License-Identifier: MIT
// Text colours that stay readable on the list's coloured rows.
#include "ui/readable_text.h"

#include <algorithm>
#include <cmath>

namespace rizo {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// One sRGB channel (0 to 255) as linear light.
double Linear(uint32_t channel) {
    const double value = static_cast<double>(channel & 0xFFu) / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(uint32_t colour) {
    return 0.2126 * Linear(colour >> 16) + 0.7152 * Linear(colour >> 8) + 0.0722 * Linear(colour);
}

}  // namespace

double ContrastRatio(uint32_t first, uint32_t second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool ReadsWell(uint32_t text, uint32_t back) {
    return ContrastRatio(text, back) >= kReadableContrast;
}

uint32_t ReadableTextColour(uint32_t back, uint32_t themeText, double needed) {
    if (ContrastRatio(themeText, back) >= needed) {
        return themeText;
    }
    return ContrastRatio(back, kBlack) >= ContrastRatio(back, kWhite) ? kBlack : kWhite;
}

}  // namespace rizo
