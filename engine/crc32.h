// SPDX-License-Identifier: MIT
// CRC-32 (reflected polynomial 0xEDB88320) of the program's own, chainable block by block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rizo {

// Both take the finished CRC of the bytes before (0 at the start) and return the finished CRC with
// `count` more bytes, so blocks chain to the standard CRC-32 of the whole stream.
uint32_t Crc32UpdatePortable(const void* data, std::size_t count, uint32_t crc);

// The entry the engine calls: the fastest routine this CPU supports.
uint32_t Crc32Update(const void* data, std::size_t count, uint32_t crc);

}  // namespace rizo
