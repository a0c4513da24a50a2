// SPDX-License-Identifier: MIT
// Duplicate grouping through one flat hash table of row numbers, so that long lists stay fast.
#include "filelist/duplicate_groups.h"

#include <array>
#include <functional>

#include "filelist/row_store.h"

namespace rizo {
namespace {

// Six rows of fifteen colours, each row one lightness running round the colour circle.
constexpr std::array<uint32_t, kDuplicatePaletteSize> kPalette = {
    0xFFCBCB, 0xFFE1CB, 0xFFF6CB, 0xF2FFCB, 0xDDFFCB, 0xCBFFD0, 0xCBFFE5, 0xCBFFFA, 0xCBEEFF,
    0xCBD8FF, 0xD4CBFF, 0xE9CBFF, 0xFECBFF, 0xFFCBE9, 0xFFCBD4, 0xFF9999, 0xFFC399, 0xFFEE99,
    0xE5FF99, 0xBBFF99, 0x99FFA1, 0x99FFCC, 0x99FFF6, 0x99DDFF, 0x99B2FF, 0xA999FF, 0xD499FF,
    0xFE99FF, 0xFF99D4, 0xFF99AA, 0xFF6565, 0xFFA565, 0xFFE565, 0xD8FF65, 0x99FF65, 0x65FF72,
    0x65FFB2, 0x65FFF2, 0x65CBFF, 0x658CFF, 0x7F65FF, 0xBF65FF, 0xFE65FF, 0xFF65BF, 0xFF657F,
    0xFF3333, 0xFF8833, 0xFFDD33, 0xCCFF33, 0x77FF33, 0x33FF44, 0x33FF99, 0x33FFEE, 0x33BAFF,
    0x3366FF, 0x5433FF, 0xA933FF, 0xFE33FF, 0xFF33A9, 0xFF3355, 0xFF0000, 0xFF6A00, 0xFFD400,
    0xBFFF00, 0x55FF00, 0x00FF15, 0x00FF7F, 0x00FFE9, 0x00A9FF, 0x003FFF, 0x2A00FF, 0x9400FF,
    0xFE00FF, 0xFF0094, 0xFF002A, 0xCC0000, 0xCC5500, 0xCCAA00, 0x99CC00, 0x44CC00, 0x00CC11,
    0x00CC66, 0x00CCBB, 0x0087CC, 0x0033CC, 0x2100CC, 0x7600CC, 0xCB00CC, 0xCC0076, 0xCC0022,
};

// The first row with each row's key, or -1 for an empty key. The rows are found through an open
// addressed table of row numbers: one block of memory, where a map's node for each of 100,000 keys
// cost the end of a batch more than the grouping itself.
std::vector<int> FirstRowOfKeys(const std::vector<std::string_view>& keys) {
    std::size_t slots = 16;
    while (slots < 2 * keys.size()) {
        slots *= 2;
    }
    std::vector<int> table(slots, -1);
    std::vector<int> firstRows(keys.size(), -1);
    const std::hash<std::string_view> hash;
    for (std::size_t row = 0; row < keys.size(); ++row) {
        if (keys[row].empty()) {
            continue;
        }
        std::size_t slot = hash(keys[row]) & (slots - 1);
        while (table[slot] >= 0 && keys[static_cast<std::size_t>(table[slot])] != keys[row]) {
            slot = (slot + 1) & (slots - 1);
        }
        if (table[slot] < 0) {
            table[slot] = static_cast<int>(row);
        }
        firstRows[row] = table[slot];
    }
    return firstRows;
}

}  // namespace

std::vector<int> DuplicateGroups(const std::vector<std::string_view>& keys) {
    const std::vector<int> firstRows = FirstRowOfKeys(keys);
    std::vector<int> counts(keys.size(), 0);
    for (const int first : firstRows) {
        if (first >= 0) {
            ++counts[static_cast<std::size_t>(first)];
        }
    }
    std::vector<int> groups(keys.size(), 0);
    int nextGroup = 1;
    for (std::size_t row = 0; row < keys.size(); ++row) {
        const int first = firstRows[row];
        if (first < 0 || counts[static_cast<std::size_t>(first)] < 2) {
            continue;
        }
        // A key's first row comes before its others, so its group is numbered by then.
        groups[row] = static_cast<std::size_t>(first) == row
                          ? nextGroup++
                          : groups[static_cast<std::size_t>(first)];
    }
    return groups;
}

uint32_t DuplicateColour(int group) {
    return kPalette[group - 1];
}

int DuplicateKeyColumn(const HashSelection& digests) {
    if (digests.md5) {
        return kColMd5;
    }
    if (digests.sha1) {
        return kColSha1;
    }
    if (digests.crc32) {
        return kColCrc32;
    }
    return digests.sha256 ? kColSha256 : -1;
}

}  // namespace rizo
