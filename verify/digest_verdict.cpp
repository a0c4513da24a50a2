// SPDX-License-Identifier: MIT
// Whether a hashed file matches what a checksum file lists for it.
#include "verify/digest_verdict.h"

#include <cerrno>

namespace rizo {

void AddToSelection(const ListedFile& listed, HashSelection& selection) {
    for (const ListedDigest& digest : listed.digests) {
        switch (digest.kind) {
            case DigestKind::kMd5:
                selection.md5 = true;
                break;
            case DigestKind::kSha1:
                selection.sha1 = true;
                break;
            case DigestKind::kCrc32:
                selection.crc32 = true;
                break;
            case DigestKind::kSha256:
                selection.sha256 = true;
                break;
        }
    }
}

const std::string& DigestOf(DigestKind kind, const FileEntry& entry) {
    switch (kind) {
        case DigestKind::kMd5:
            return entry.md5;
        case DigestKind::kSha1:
            return entry.sha1;
        case DigestKind::kCrc32:
            return entry.crc32;
        case DigestKind::kSha256:
            break;
    }
    return entry.sha256;
}

bool DigestMatches(const ListedDigest& digest, const FileEntry& entry) {
    const std::string& computed = DigestOf(digest.kind, entry);
    return !computed.empty() && LowerHex(computed) == digest.hex;
}

Verdict FileVerdict(const ListedFile& listed, const FileEntry& entry) {
    if (entry.outcome == FileOutcome::kNotOpened && entry.errorNumber == ENOENT) {
        return Verdict::kMissing;
    }
    if (entry.outcome != FileOutcome::kRead) {
        return Verdict::kUnreadable;
    }
    Verdict verdict = Verdict::kOk;
    for (const ListedDigest& digest : listed.digests) {
        if (DigestOf(digest.kind, entry).empty()) {
            return Verdict::kUnreadable;
        }
        if (!DigestMatches(digest, entry)) {
            verdict = Verdict::kFailed;
        }
    }
    return verdict;
}

}  // namespace rizo
