// SPDX-License-Identifier: MIT
// The digests the engine does not compute itself, behind an interface so the libraries that
// provide them can be replaced (and a test can bring a failing one).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "base/digest_kind.h"

namespace rizo {

// One running digest: fed in blocks of any size, which digest as one stream.
class HashObject {
public:
    virtual ~HashObject() = default;
    virtual bool Update(const void* data, std::size_t count) = 0;
    // Finishes the digest and gives its bytes in the standard order (the xxHash ones big-endian, as
    // their canonical form). Once finished the object takes no more data; asking again gives the
    // same bytes.
    virtual bool Finish(std::vector<unsigned char>& value) = 0;
};

class DigestService {
public:
    virtual ~DigestService() = default;
    virtual bool Offers(DigestKind algorithm) const = 0;
    // Null when the algorithm is not offered or the object cannot be made. `length` is the
    // digest's length in bytes where the algorithm has several (BLAKE2b: 1 to 64); the others
    // have one and ignore it.
    virtual std::unique_ptr<HashObject> CreateHash(DigestKind algorithm, std::size_t length) = 0;
};

}  // namespace rizo
