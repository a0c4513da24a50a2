// SPDX-License-Identifier: MIT
// The duplicate colours deepened for a dark theme, where the pale ones would glare.
#include "ui/dark_palette.h"

#include <QPalette>

#include <array>

#include "filelist/duplicate_groups.h"

namespace rizo {
namespace {

// Entry g keeps the hue of light entry g in the OKLab colour space and 60% of its chroma (at least
// 0.1, within sRGB). Its lightness follows the light entry's in the band 0.34 to 0.40, a step of
// 0.04 darker for odd groups and lighter for even ones, so that hues the dark band brings close
// (the greens) stay apart; and its relative luminance is at most 0.08, which gives white text
// 8:1 and a dark theme's off-white (#EFF0F1) 7:1.
constexpr std::array<uint32_t, kDuplicatePaletteSize> kDarkPalette = {
    0x651F26, 0x794107, 0x483D00, 0x495503, 0x244705, 0x1E5B2B, 0x024931, 0x035A55, 0x034258,
    0x3C4B86, 0x3D2D69, 0x613E78, 0x552557, 0x75375F, 0x631F32, 0x7B3336, 0x5A2C01, 0x5C4F01,
    0x374302, 0x33591C, 0x0B4817, 0x035C3C, 0x044642, 0x045674, 0x24326B, 0x4C417E, 0x47265E,
    0x6B376C, 0x5B1E44, 0x7A3241, 0x641318, 0x763C07, 0x463B02, 0x455602, 0x1D4701, 0x015D14,
    0x03472A, 0x055A54, 0x013E57, 0x314682, 0x312172, 0x5F3081, 0x5C045E, 0x792858, 0x631225,
    0x861B19, 0x592700, 0x5E4F01, 0x334302, 0x225B01, 0x004807, 0x025C32, 0x044540, 0x025277,
    0x0F2878, 0x37319B, 0x480174, 0x7B0C7B, 0x63013D, 0x851A2A, 0x680000, 0x7C3002, 0x473902,
    0x3F5701, 0x124701, 0x015D03, 0x01471F, 0x025A52, 0x00395B, 0x12399E, 0x13128A, 0x591F95,
    0x5B015B, 0x85094C, 0x67000B, 0x7E1F17, 0x562001, 0x5B4B03, 0x2D3F02, 0x1A5C01, 0x014402,
    0x015C2B, 0x03413B, 0x034D76, 0x062474, 0x233593, 0x3E0C6D, 0x731673, 0x5F0034, 0x7D1E20,
};

}  // namespace

bool IsDarkTheme(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

uint32_t DarkDuplicateColour(int group) {
    return kDarkPalette[group - 1];
}

uint32_t OnDarkTheme(uint32_t colour) {
    for (int group = 1; group <= kDuplicatePaletteSize; ++group) {
        if (DuplicateColour(group) == colour) {
            return DarkDuplicateColour(group);
        }
    }
    return colour;
}

}  // namespace rizo
