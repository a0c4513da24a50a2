// SPDX-License-Identifier: MIT
// XXH64, XXH3 (64-bit) and XXH128 over libxxhash.
#pragma once

#include <memory>

#include "engine/digest_service.h"

namespace rizo {

// One of the three with seed 0, as `xxhsum -H1`, `-H3` and `-H2` compute them; null for another
// algorithm or when the library cannot make its state.
std::unique_ptr<HashObject> CreateXxHash(DigestKind algorithm);

}  // namespace rizo
