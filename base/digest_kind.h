// SPDX-License-Identifier: MIT
// The digests the program computes, named once for the engine, the command line and verification.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "base/file_entry.h"
#include "base/hash_selection.h"

namespace rizo {

// The window's four in the program's digest order, then those the command line and verification
// add.
enum class DigestKind {
    kMd5,
    kSha1,
    kCrc32,
    kSha256,
    kSha224,
    kSha384,
    kSha512,
    kBlake2b,
    kXxh64,
    kXxh3,
    kXxh128,
};
inline constexpr std::size_t kDigestKindCount = 11;

// Where a digest is chosen in a selection and where its text lands in a result, the name its
// BSD tag lines give it, and its length in hex digits (BLAKE2b's longest).
struct DigestFields {
    DigestKind kind;
    bool HashSelection::*chosen;
    std::string FileEntry::*text;
    const char* name;
    std::size_t hexLength;
};

// In DigestKind order.
inline constexpr std::array<DigestFields, kDigestKindCount> kDigestFields = {{
    {DigestKind::kMd5, &HashSelection::md5, &FileEntry::md5, "MD5", 32},
    {DigestKind::kSha1, &HashSelection::sha1, &FileEntry::sha1, "SHA1", 40},
    {DigestKind::kCrc32, &HashSelection::crc32, &FileEntry::crc32, "CRC32", 8},
    {DigestKind::kSha256, &HashSelection::sha256, &FileEntry::sha256, "SHA256", 64},
    {DigestKind::kSha224, &HashSelection::sha224, &FileEntry::sha224, "SHA224", 56},
    {DigestKind::kSha384, &HashSelection::sha384, &FileEntry::sha384, "SHA384", 96},
    {DigestKind::kSha512, &HashSelection::sha512, &FileEntry::sha512, "SHA512", 128},
    {DigestKind::kBlake2b, &HashSelection::blake2b, &FileEntry::blake2b, "BLAKE2b", 128},
    {DigestKind::kXxh64, &HashSelection::xxh64, &FileEntry::xxh64, "XXH64", 16},
    {DigestKind::kXxh3, &HashSelection::xxh3, &FileEntry::xxh3, "XXH3", 16},
    {DigestKind::kXxh128, &HashSelection::xxh128, &FileEntry::xxh128, "XXH128", 32},
}};

constexpr const DigestFields& FieldsOf(DigestKind kind) {
    return kDigestFields[static_cast<std::size_t>(kind)];
}

}  // namespace rizo
