// SPDX-License-Identifier: MIT
// Whether a hashed file matches what a checksum file lists for it.
#include "verify/digest_verdict.h"

#include <cerrno>

#include "base/digest_kind.h"

namespace rizo {

namespace {

// The entry has that digest at the listed length.
bool Computed(DigestKind kind, const ListedDigest& digest, const FileEntry& entry) {
    return DigestOf(kind, entry).size() == digest.hex.size();
}

bool Equal(DigestKind kind, const ListedDigest& digest, const FileEntry& entry) {
    return Computed(kind, digest, entry) && LowerHex(DigestOf(kind, entry)) == digest.hex;
}

}  // namespace

void AddKind(DigestKind kind, std::size_t hexLength, HashSelection& selection) {
    selection.*FieldsOf(kind).chosen = true;
    if (kind == DigestKind::kBlake2b) {
        selection.blake2bBits = static_cast<int>(hexLength * 4);
    }
}

void AddToSelection(const ListedFile& listed, HashSelection& selection) {
    for (const ListedDigest& digest : listed.digests) {
        AddKind(digest.kind, digest.hex.size(), selection);
        if (digest.orKind) {
            AddKind(*digest.orKind, digest.hex.size(), selection);
        }
    }
}

HashSelection NeededOf(const ListedFile& listed, const FileEntry& entry) {
    HashSelection selection{false, false, false, false};
    for (const ListedDigest& digest : listed.digests) {
        const bool other = digest.orKind && DigestOf(digest.kind, entry).empty() &&
                           !DigestOf(*digest.orKind, entry).empty();
        AddKind(other ? *digest.orKind : digest.kind, digest.hex.size(), selection);
    }
    return selection;
}

void AddDigests(const HashSelection& more, HashSelection& selection) {
    for (const DigestFields& each : kDigestFields) {
        selection.*each.chosen = selection.*each.chosen || more.*each.chosen;
    }
    if (more.blake2b) {
        selection.blake2bBits = more.blake2bBits;
    }
}

const std::string& DigestOf(DigestKind kind, const FileEntry& entry) {
    return entry.*FieldsOf(kind).text;
}

std::string& DigestOf(DigestKind kind, FileEntry& entry) {
    return entry.*FieldsOf(kind).text;
}

std::optional<DigestKind> MatchingKind(const ListedDigest& digest, const FileEntry& entry) {
    if (Equal(digest.kind, digest, entry)) {
        return digest.kind;
    }
    if (digest.orKind && Equal(*digest.orKind, digest, entry)) {
        return digest.orKind;
    }
    return std::nullopt;
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
        if (!Computed(digest.kind, digest, entry) &&
            !(digest.orKind && Computed(*digest.orKind, digest, entry))) {
            return Verdict::kUnreadable;
        }
        if (!DigestMatches(digest, entry)) {
            verdict = Verdict::kFailed;
        }
    }
    return verdict;
}

}  // namespace rizo
