// SPDX-License-Identifier: MIT
// CRC-32 by slicing-by-16: sixteen derived tables let one step take sixteen bytes, in plain C++.
#include <array>

#include "engine/crc32_paths.h"

namespace rizo {
namespace {

using SliceTables = std::array<std::array<uint32_t, 256>, 16>;

// Table k maps a byte to its CRC contribution when k further zero bytes follow it.
constexpr SliceTables MakeSliceTables() {
    SliceTables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        }
        t[0][i] = c;
    }
    for (std::size_t k = 1; k < t.size(); ++k) {
        for (std::size_t i = 0; i < 256; ++i) {
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
        }
    }
    return t;
}

constexpr SliceTables kSlice = MakeSliceTables();

// Assembled byte by byte so the result does not depend on the host's byte order; compilers turn
// it into one load on little-endian machines.
inline uint32_t LoadLe32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The four bytes of word w, the first of them `distance` + 3 bytes before the end of the step.
inline uint32_t SliceWord(uint32_t w, std::size_t distance) {
    return kSlice[distance + 3][w & 0xFF] ^ kSlice[distance + 2][(w >> 8) & 0xFF] ^
           kSlice[distance + 1][(w >> 16) & 0xFF] ^ kSlice[distance][w >> 24];
}

}  // namespace

uint32_t Crc32UpdateSlice16(const void* data, std::size_t count, uint32_t crc) {
    const auto* p = static_cast<const unsigned char*>(data);
    uint32_t c = ~crc;
    for (; count >= 16; p += 16, count -= 16) {
        c = SliceWord(LoadLe32(p) ^ c, 12) ^ SliceWord(LoadLe32(p + 4), 8) ^
            SliceWord(LoadLe32(p + 8), 4) ^ SliceWord(LoadLe32(p + 12), 0);
    }
    for (; count > 0; ++p, --count) {
        c = kSlice[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    }
    return ~c;
}

}  // namespace rizo
