// SPDX-License-Identifier: MIT
// Whether a hashed file matches what a checksum file lists for it.
#pragma once

#include <optional>
#include <string>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "verify/listed_file.h"

namespace rizo {

enum class Verdict { kOk, kFailed, kMissing, kUnreadable };

// Switches on that digest; BLAKE2b at the length of `hexLength` hex digits.
void AddKind(DigestKind kind, std::size_t hexLength, HashSelection& selection);
// Switches on the digests the file is listed with: both where a line may hold either, and
// BLAKE2b at its listed length.
void AddToSelection(const ListedFile& listed, HashSelection& selection);
// The digests the entry must have for the file's lines to be judged: of a line either of two
// digests may meet, the one computed.
HashSelection NeededOf(const ListedFile& listed, const FileEntry& entry);
// Switches on in `selection` what `more` has on, and BLAKE2b at `more`'s length where it asks
// for BLAKE2b.
void AddDigests(const HashSelection& more, HashSelection& selection);
// The entry's text of that digest.
const std::string& DigestOf(DigestKind kind, const FileEntry& entry);
std::string& DigestOf(DigestKind kind, FileEntry& entry);
// The digest of the line's kinds whose computed value equals the listed one, whatever the letter
// case; none when neither does.
std::optional<DigestKind> MatchingKind(const ListedDigest& digest, const FileEntry& entry);
inline bool DigestMatches(const ListedDigest& digest, const FileEntry& entry) {
    return MatchingKind(digest, entry).has_value();
}
// Missing when the file does not exist, unreadable when it could not be read whole or a listed
// digest could not be made (at its listed length), failed when any listed digest differs.
Verdict FileVerdict(const ListedFile& listed, const FileEntry& entry);

}  // namespace rizo
