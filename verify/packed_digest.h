// SPDX-License-Identifier: MIT
// A listed digest kept as its bytes: half the room of its hex text and no allocation of its own,
// which counts when a checksum file lists a million files.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "verify/listed_file.h"

namespace rizo {

class PackedDigest {
public:
    // `digest.hex` holds an even number of hex digits, at most 128, as the checksum file reader
    // gives them.
    explicit PackedDigest(const ListedDigest& digest);
    // The digest in lower case hex, without its line.
    ListedDigest Unpacked() const;

private:
    // The longest digests, SHA512 and BLAKE2b-512, fill it; shorter ones leave the end unused.
    std::array<uint8_t, 64> bytes{};
    DigestKind kind;
    std::optional<DigestKind> orKind;
    uint8_t size = 0;
};

}  // namespace rizo
