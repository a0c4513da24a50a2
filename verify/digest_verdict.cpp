// SPDX-License-Identifier: MIT
// Whether a hashed file matches what a checksum file lists for it.
#include "verify/digest_verdict.h"

#include <array>
#include <cerrno>

namespace rizo {

namespace {

struct KindFlags {
    bool HashSelection::*flag;
    std::string FileEntry::*text;
};

// In DigestKind order.
constexpr std::array<KindFlags, kDigestKindCount> kFlags = {{
    {&HashSelection::md5, &FileEntry::md5},
    {&HashSelection::sha1, &FileEntry::sha1},
    {&HashSelection::crc32, &FileEntry::crc32},
    {&HashSelection::sha256, &FileEntry::sha256},
    {&HashSelection::sha224, &FileEntry::sha224},
    {&HashSelection::sha384, &FileEntry::sha384},
    {&HashSelection::sha512, &FileEntry::sha512},
    {&HashSelection::blake2b, &FileEntry::blake2b},
    {&HashSelection::xxh64, &FileEntry::xxh64},
    {&HashSelection::xxh3, &FileEntry::xxh3},
    {&HashSelection::xxh128, &FileEntry::xxh128},
}};

const KindFlags& FlagsOf(DigestKind kind) {
    return kFlags[static_cast<std::size_t>(kind)];
}

// The entry has that digest at the listed length.
bool Computed(DigestKind kind, const ListedDigest& digest, const FileEntry& entry) {
    return DigestOf(kind, entry).size() == digest.hex.size();
}

bool Equal(DigestKind kind, const ListedDigest& digest, const FileEntry& entry) {
    return Computed(kind, digest, entry) && LowerHex(DigestOf(kind, entry)) == digest.hex;
}

}  // namespace

void AddKind(DigestKind kind, std::size_t hexLength, HashSelection& selection) {
    selection.*FlagsOf(kind).flag = true;
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
    for (const KindFlags& each : kFlags) {
        selection.*each.flag = selection.*each.flag || more.*each.flag;
    }
    if (more.blake2b) {
        selection.blake2bBits = more.blake2bBits;
    }
}

const std::string& DigestOf(DigestKind kind, const FileEntry& entry) {
    return entry.*FlagsOf(kind).text;
}

std::string& DigestOf(DigestKind kind, FileEntry& entry) {
    return entry.*FlagsOf(kind).text;
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
