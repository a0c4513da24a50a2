// SPDX-License-Identifier: MIT
// A listed digest kept as its bytes.
#include "verify/packed_digest.h"

#include <span>

#include "base/value_format.h"

namespace rizo {
PackedDigest::PackedDigest(const ListedDigest& digest) : kind(digest.kind), orKind(digest.orKind) {
    for (; size * 2U + 1 < digest.hex.size() && size < bytes.size(); ++size) {
        bytes[size] = static_cast<uint8_t>(HexDigitValue(digest.hex[size * 2U]) << 4 |
                                           HexDigitValue(digest.hex[size * 2U + 1]));
    }
}

ListedDigest PackedDigest::Unpacked() const {
    const std::span<const unsigned char> used(bytes.data(), size);
    return {kind, FormatDigestHex(used, false), 0, orKind};
}

}  // namespace rizo
