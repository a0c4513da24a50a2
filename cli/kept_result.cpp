// SPDX-License-Identifier: MIT
// A file's outcome and digests, kept for later lines.
#include "cli/kept_result.h"

#include <span>

#include "base/value_format.h"
#include "verify/digest_verdict.h"

namespace rizo {

KeptResult::KeptResult(const FileEntry& entry)
    : outcome(entry.outcome), errorNumber(entry.errorNumber) {
    for (std::size_t kind = 0; kind < kDigestKindCount; ++kind) {
        const std::string& text = DigestOf(static_cast<DigestKind>(kind), entry);
        // A digest is all or nothing: whole hex digits, or empty when not made.
        if (text.empty() || !IsHex(text, text.size()) || text.size() % 2 != 0) {
            continue;
        }
        present |= static_cast<uint16_t>(1U << kind);
        if (static_cast<DigestKind>(kind) == DigestKind::kBlake2b) {
            blake2bBytes = static_cast<uint8_t>(text.size() / 2);
        }
        for (std::size_t i = 0; i < text.size(); i += 2) {
            bytes.push_back(
                static_cast<uint8_t>(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1])));
        }
    }
}

FileEntry KeptResult::Entry() const {
    FileEntry entry;
    entry.outcome = outcome;
    entry.errorNumber = errorNumber;
    std::size_t offset = 0;
    for (std::size_t kind = 0; kind < kDigestKindCount; ++kind) {
        if ((present & (1U << kind)) == 0) {
            continue;
        }
        const auto digest = static_cast<DigestKind>(kind);
        const std::size_t size =
            digest == DigestKind::kBlake2b ? blake2bBytes : HexLength(digest) / 2;
        DigestOf(digest, entry) =
            FormatDigestHex(std::span<const unsigned char>(bytes.data() + offset, size), false);
        offset += size;
    }
    return entry;
}

}  // namespace rizo
