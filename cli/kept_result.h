// SPDX-License-Identifier: MIT
// What later lines of the checksum lists are judged by when a file's result is kept for them: its
// outcome and its digests as bytes, in under 90 bytes rather than a whole result's strings.
#pragma once

#include <array>
#include <cstdint>

#include "base/file_entry.h"

namespace rizo {

class KeptResult {
public:
    explicit KeptResult(const FileEntry& entry);
    // A result with that outcome and those digests (in lower case), and no other facts.
    FileEntry Entry() const;

private:
    FileOutcome outcome;
    int errorNumber;
    // A bit for each digest the result has, by DigestKind.
    uint8_t present = 0;
    // MD5, SHA1, CRC32 and SHA256 one after the other.
    std::array<uint8_t, 16 + 20 + 4 + 32> bytes{};
};

}  // namespace rizo
