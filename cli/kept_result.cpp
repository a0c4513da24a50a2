// SPDX-License-Identifier: MIT
// A file's outcome and digests, kept for later lines.
#include "cli/kept_result.h"

#include <span>

#include "base/value_format.h"
#include "verify/listed_file.h"

namespace rizo {

namespace {

struct DigestText {
    std::string FileEntry::*text;
    std::size_t offset;
    std::size_t bytes;
};

// In DigestKind order.
constexpr std::array<DigestText, 4> kDigests = {{{&FileEntry::md5, 0, 16},
                                                 {&FileEntry::sha1, 16, 20},
                                                 {&FileEntry::crc32, 36, 4},
                                                 {&FileEntry::sha256, 40, 32}}};

}  // namespace

KeptResult::KeptResult(const FileEntry& entry)
    : outcome(entry.outcome), errorNumber(entry.errorNumber) {
    for (std::size_t kind = 0; kind < kDigests.size(); ++kind) {
        const DigestText& digest = kDigests[kind];
        const std::string& text = entry.*digest.text;
        // A digest is all or nothing: the full count of hex digits, or empty when not made.
        if (!IsHex(text, digest.bytes * 2)) {
            continue;
        }
        present |= static_cast<uint8_t>(1U << kind);
        for (std::size_t i = 0; i < digest.bytes; ++i) {
            bytes[digest.offset + i] = static_cast<uint8_t>(HexDigitValue(text[2 * i]) * 16 +
                                                            HexDigitValue(text[2 * i + 1]));
        }
    }
}

FileEntry KeptResult::Entry() const {
    FileEntry entry;
    entry.outcome = outcome;
    entry.errorNumber = errorNumber;
    for (std::size_t kind = 0; kind < kDigests.size(); ++kind) {
        const DigestText& digest = kDigests[kind];
        if ((present & (1U << kind)) != 0) {
            entry.*digest.text = FormatDigestHex(
                std::span<const unsigned char>(bytes.data() + digest.offset, digest.bytes), false);
        }
    }
    return entry;
}

}  // namespace rizo
