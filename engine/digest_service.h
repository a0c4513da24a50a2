// SPDX-License-Identifier: MIT
// The cryptographic digests the engine needs, behind an interface so the library that provides them
// can be replaced (and a test can bring a failing one).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace rizo {

enum class DigestAlgorithm { kMd5, kSha1, kSha256 };

// One running digest: fed in blocks of any size, which digest as one stream.
class HashObject {
public:
    virtual ~HashObject() = default;
    virtual bool Update(const void* data, std::size_t count) = 0;
    // Finishes the digest and gives its bytes (16, 20 or 32) in the standard order. Once finished
    // the object takes no more data; asking again gives the same bytes.
    virtual bool Finish(std::vector<unsigned char>& value) = 0;
};

class DigestService {
public:
    virtual ~DigestService() = default;
    virtual bool Offers(DigestAlgorithm algorithm) const = 0;
    // Null when the algorithm is not offered or the object cannot be made.
    virtual std::unique_ptr<HashObject> CreateHash(DigestAlgorithm algorithm) = 0;
};

}  // namespace rizo
