// SPDX-License-Identifier: MIT
// A file named in a checksum file, with the digests the checksum file expects of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rizo {

// In the program's digest order.
enum class DigestKind { kMd5, kSha1, kCrc32, kSha256 };

// Number of hex digits of a digest, and the digest that has that many (none for other counts).
std::size_t HexLength(DigestKind kind);
std::optional<DigestKind> KindOfHexLength(std::size_t length);
// "MD5", "SHA1", "CRC32", "SHA256".
const char* KindName(DigestKind kind);

struct ListedDigest {
    DigestKind kind = DigestKind::kMd5;
    // Lower case.
    std::string hex;
    // 1-based line of the checksum file that lists it.
    uint64_t line = 0;
};

// Consecutive lines naming the same file, checked with one read of it.
struct ListedFile {
    // Bytes as listed, unescaped; relative names are resolved by the caller.
    std::string name;
    std::vector<ListedDigest> digests;
};

// True when `text` is exactly `length` hex digits of either case.
bool IsHex(std::string_view text, std::size_t length);
std::string LowerHex(std::string_view hex);

}  // namespace rizo
