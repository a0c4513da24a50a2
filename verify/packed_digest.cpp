// SPDX-License-Identifier: MIT
// A listed digest kept as its bytes.
#include "verify/packed_digest.h"

#include <span>

#include "base/value_format.h"

namespace rizo {
PackedDigest::PackedDigest(const ListedDigest& digest) : kind(digest.kind) {
    for (std::size_t i = 0; i + 1 < digest.hex.size() && i / 2 < bytes.size(); i += 2) {
        bytes[i / 2] = static_cast<uint8_t>(HexDigitValue(digest.hex[i]) << 4 |
                                            HexDigitValue(digest.hex[i + 1]));
    }
}

ListedDigest PackedDigest::Unpacked() const {
    const std::span<const unsigned char> used(bytes.data(), HexLength(kind) / 2);
    return {kind, FormatDigestHex(used, false), 0};
}

}  // namespace rizo
