// SPDX-License-Identifier: MIT
// The CRC-32 routines beside the plain table one, and the table `Crc32Update` chooses from at run
// time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rizo {

using Crc32Routine = uint32_t (*)(const void* data, std::size_t count, uint32_t crc);

// Every routine takes and returns the finished CRC, exactly as `Crc32UpdatePortable` does.
uint32_t Crc32UpdateSlice16(const void* data, std::size_t count, uint32_t crc);
#if defined(__x86_64__)
// Carry-less-multiply folding; needs PCLMULQDQ and SSE4.1.
uint32_t Crc32UpdateClmul(const void* data, std::size_t count, uint32_t crc);
#endif

struct Crc32Path {
    const char* name;
    Crc32Routine routine;
    bool (*supported)();
};

// Fastest first; the last one is the portable table routine, which every CPU runs.
std::span<const Crc32Path> Crc32Paths();

}  // namespace rizo
