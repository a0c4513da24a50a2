// SPDX-License-Identifier: MIT
// A listed digest kept as its bytes: half the room of its hex text and no allocation of its own,
// which counts when a checksum file lists a million files.
#pragma once

#include <array>
#include <cstdint>

#include "verify/listed_file.h"

namespace rizo {

class PackedDigest {
public:
    // `digest.hex` holds HexLength(digest.kind) hex digits, as the checksum file reader gives them.
    explicit PackedDigest(const ListedDigest& digest);
    // The digest in lower case hex, without its line.
    ListedDigest Unpacked() const;

private:
    // The longest digest, SHA256, fills it; shorter ones leave the end unused.
    std::array<uint8_t, 32> bytes{};
    DigestKind kind;
};

}  // namespace rizo
