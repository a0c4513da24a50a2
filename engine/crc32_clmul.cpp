// SPDX-License-Identifier: MIT
// CRC-32 by carry-less-multiply folding (PCLMULQDQ, SSE4.1): 64 bytes per step in four 128-bit
// lanes, then a Barrett reduction. Built with those instruction-set flags alone; called only where
// the CPU has them.
#include <immintrin.h>

#include "engine/crc32_paths.h"

namespace rizo {
namespace {

// Constants for the reflected polynomial 0xEDB88320: x^n mod P for the fold distances
// (512 +- 32 bits, 128 +- 32 bits, 64 bits), then P itself and the Barrett quotient mu.
constexpr long long kFold4Lo = 0x154442bd4, kFold4Hi = 0x1c6e41596;
constexpr long long kFold1Lo = 0x1751997d0, kFold1Hi = 0x0ccaa009e;
constexpr long long kFold64 = 0x163cd6124;
constexpr long long kPoly = 0x1db710641, kMu = 0x1f7011641;

inline __m128i Load(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Moves the 128 bits of x forward by the distance k stands for and adds them to data.
inline __m128i Fold(__m128i x, __m128i k, __m128i data) {
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), data);
}

// Reduces the 128-bit remainder x to the 32-bit CRC register.
uint32_t Reduce(__m128i x) {
    const __m128i mask32 = _mm_setr_epi32(-1, 0, 0, 0);
    __m128i t = _mm_clmulepi64_si128(x, _mm_set_epi64x(kFold1Hi, kFold1Lo), 0x10);
    x = _mm_xor_si128(t, _mm_srli_si128(x, 8));
    t = _mm_clmulepi64_si128(_mm_and_si128(x, mask32), _mm_set_epi64x(0, kFold64), 0x00);
    x = _mm_xor_si128(t, _mm_srli_si128(x, 4));
    const __m128i barrett = _mm_set_epi64x(kMu, kPoly);
    t = _mm_clmulepi64_si128(_mm_and_si128(x, mask32), barrett, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, mask32), barrett, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

}  // namespace

uint32_t Crc32UpdateClmul(const void* data, std::size_t count, uint32_t crc) {
    const auto* p = static_cast<const unsigned char*>(data);
    // Below four lanes' worth the set-up costs more than it saves.
    if (count < 64) {
        return Crc32UpdateSlice16(p, count, crc);
    }
    __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(~crc)));
    __m128i x1 = Load(p + 16);
    __m128i x2 = Load(p + 32);
    __m128i x3 = Load(p + 48);
    const __m128i fold4 = _mm_set_epi64x(kFold4Hi, kFold4Lo);
    for (p += 64, count -= 64; count >= 64; p += 64, count -= 64) {
        x0 = Fold(x0, fold4, Load(p));
        x1 = Fold(x1, fold4, Load(p + 16));
        x2 = Fold(x2, fold4, Load(p + 32));
        x3 = Fold(x3, fold4, Load(p + 48));
    }
    const __m128i fold1 = _mm_set_epi64x(kFold1Hi, kFold1Lo);
    __m128i x = Fold(Fold(Fold(x0, fold1, x1), fold1, x2), fold1, x3);
    for (; count >= 16; p += 16, count -= 16) {
        x = Fold(x, fold1, Load(p));
    }
    return Crc32UpdateSlice16(p, count, ~Reduce(x));
}

}  // namespace rizo
