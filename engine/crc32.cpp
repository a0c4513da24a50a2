// SPDX-License-Identifier: MIT
// Table-driven CRC-32: the plain routine every faster path is checked against.
#include "engine/crc32.h"

#include <array>

namespace rizo {

namespace {

constexpr std::array<uint32_t, 256> MakeCrc32Table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrc32Table = MakeCrc32Table();

}  // namespace

uint32_t Crc32UpdatePortable(const void* data, std::size_t count, uint32_t crc) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    uint32_t c = ~crc;
    for (std::size_t i = 0; i < count; ++i) {
        c = kCrc32Table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    }
    return ~c;
}

}  // namespace rizo
