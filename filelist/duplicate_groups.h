// SPDX-License-Identifier: MIT
// Groups of rows with equal digest texts, their palette, and the column that decides them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/hash_selection.h"

namespace rizo {

// Groups 1 to 90 get a colour of their own; later groups stay uncoloured.
inline constexpr int kDuplicatePaletteSize = 90;

// Group number of each key: 0 when the key is empty or occurs once, otherwise the number of its
// group, groups numbered from 1 in the order of their first key. Equality is byte for byte.
std::vector<int> DuplicateGroups(const std::vector<std::string_view>& keys);

// Background 0xRRGGBB of group 1 to kDuplicatePaletteSize.
uint32_t DuplicateColour(int group);

// The digest column that decides duplicates: the first enabled of MD5, SHA1, CRC32, SHA256,
// or -1 when none is enabled.
int DuplicateKeyColumn(const HashSelection& digests);

}  // namespace rizo
