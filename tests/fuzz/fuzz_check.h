// SPDX-License-Identifier: MIT
// Invariant checks of the fuzz targets: a broken one names itself and aborts, which the fuzzer
// records as a crash with its input and the corpus replay reports as a failed test.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
