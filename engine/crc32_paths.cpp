// SPDX-License-Identifier: MIT
// The table of CRC-32 routines and the run-time choice behind `Crc32Update`.
#include "engine/crc32_paths.h"

#include "engine/crc32.h"

namespace rizo {
namespace {

bool Always() {
    return true;
}

#if defined(__x86_64__)
bool HasClmul() {
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}
#endif

constexpr Crc32Path kPaths[] = {
#if defined(__x86_64__)
    {"clmul", Crc32UpdateClmul, HasClmul},
#endif
    {"slice16", Crc32UpdateSlice16, Always},
    {"portable", Crc32UpdatePortable, Always},
};

Crc32Routine ChooseRoutine() {
    for (const Crc32Path& path : kPaths) {
        if (path.supported()) {
            return path.routine;
        }
    }
    return Crc32UpdatePortable;
}

}  // namespace

std::span<const Crc32Path> Crc32Paths() {
    return kPaths;
}

uint32_t Crc32Update(const void* data, std::size_t count, uint32_t crc) {
    static const Crc32Routine chosen = ChooseRoutine();
    return chosen(data, count, crc);
}

}  // namespace rizo
