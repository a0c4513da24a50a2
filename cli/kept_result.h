// SPDX-License-Identifier: MIT
// What later lines of the checksum lists are judged by when a file's result is kept for them: its
// outcome and the digests it has as bytes, rather than a whole result's strings.
#pragma once

#include <cstdint>
#include <vector>

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
    uint16_t present = 0;
    // BLAKE2b's length in bytes, which its digest has whatever the kind says.
    uint8_t blake2bBytes = 0;
    // The digests present, one after the other in DigestKind order.
    std::vector<uint8_t> bytes;
};

}  // namespace rizo
