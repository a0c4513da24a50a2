// SPDX-License-Identifier: MIT
// Whether a hashed file matches what a checksum file lists for it.
#pragma once

#include <string>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "verify/listed_file.h"

namespace rizo {

enum class Verdict { kOk, kFailed, kMissing, kUnreadable };

// Switches on the digests the file is listed with.
void AddToSelection(const ListedFile& listed, HashSelection& selection);
// The entry's text of that digest.
const std::string& DigestOf(DigestKind kind, const FileEntry& entry);
// The entry's digest equals the listed one, whatever the letter case.
bool DigestMatches(const ListedDigest& digest, const FileEntry& entry);
// Missing when the file does not exist, unreadable when it could not be read whole or a listed
// digest could not be made, failed when any listed digest differs.
Verdict FileVerdict(const ListedFile& listed, const FileEntry& entry);

}  // namespace rizo
