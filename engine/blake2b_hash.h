// SPDX-License-Identifier: MIT
// BLAKE2b of any length over libb2, the reference library.
#pragma once

#include <cstddef>
#include <memory>

#include "engine/digest_service.h"

namespace rizo {

// A BLAKE2b digest of `length` bytes (1 to 64) without a key, as `b2sum -l` computes it; null for
// another length.
std::unique_ptr<HashObject> CreateBlake2bHash(std::size_t length);

}  // namespace rizo
