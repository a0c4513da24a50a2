// SPDX-License-Identifier: MIT
// A file named in a checksum file, with the digests the checksum file expects of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/digest_kind.h"

namespace rizo {

// Number of hex digits of a digest; BLAKE2b's longest, 128, as its lines tell their own length.
std::size_t HexLength(DigestKind kind);
// "MD5", "SHA1", "CRC32", "SHA256", "SHA224", "SHA384", "SHA512", "BLAKE2b", "XXH64", "XXH3",
// "XXH128".
const char* KindName(DigestKind kind);

struct ListedDigest {
    DigestKind kind = DigestKind::kMd5;
    // Lower case; its length tells a BLAKE2b digest's.
    std::string hex;
    // 1-based line of the checksum file that lists it.
    uint64_t line = 0;
    // The other digest an untagged line of that length may hold, where the list's name does not
    // say which: the line is met by either.
    std::optional<DigestKind> orKind;
};

// Consecutive lines naming the same file, checked with one read of it.
struct ListedFile {
    // Bytes as listed, unescaped; relative names are resolved by the caller.
    std::string name;
    std::vector<ListedDigest> digests;
};

// The digest a checksum list's name says its lines hold (MD5SUMS, x.sha512, B2SUMS, x.b2,
// x.xxh128, x.sfv); none for a name that says none. XXH128 stands for xxhsum's lists.
std::optional<DigestKind> NamedKind(std::string_view listName);
// The digest, or the two, an untagged line of `length` hex digits holds in a list whose name says
// `named`; none when no digest has that length. A BLAKE2b list's lines are BLAKE2b of any length,
// as b2sum -l writes them; elsewhere 128 digits are SHA512 or BLAKE2b, 32 are MD5 or XXH128
// unless the name says which.
std::optional<ListedDigest> UntaggedKinds(std::size_t length, std::optional<DigestKind> named);

// True when `text` is exactly `length` hex digits of either case.
bool IsHex(std::string_view text, std::size_t length);
std::string LowerHex(std::string_view hex);

}  // namespace rizo
