// SPDX-License-Identifier: MIT
// Digest kinds by name and hex length.
#include "verify/listed_file.h"

#include <algorithm>
#include <array>

#include "base/value_format.h"
#include "verify/checksum_name.h"

namespace rizo {

namespace {

// What a list's name says, by the word in it; earlier words win, so "b2" only counts where no
// digest's own name stands.
struct NameWord {
    std::string_view word;
    DigestKind kind;
};
constexpr std::array<NameWord, 11> kNameWords = {{{"md5", DigestKind::kMd5},
                                                  {"sha1", DigestKind::kSha1},
                                                  {"sha224", DigestKind::kSha224},
                                                  {"sha256", DigestKind::kSha256},
                                                  {"sha384", DigestKind::kSha384},
                                                  {"sha512", DigestKind::kSha512},
                                                  {"xxh", DigestKind::kXxh128},
                                                  {"blake2", DigestKind::kBlake2b},
                                                  {"sfv", DigestKind::kCrc32},
                                                  {"crc", DigestKind::kCrc32},
                                                  {".b2", DigestKind::kBlake2b}}};

// The one digest of each length where the list's name does not say, and the second one it may be.
struct Untagged {
    std::size_t hexLength;
    DigestKind kind;
    std::optional<DigestKind> orKind;
};
constexpr std::array<Untagged, 8> kUntagged = {{{8, DigestKind::kCrc32, std::nullopt},
                                                {16, DigestKind::kXxh64, std::nullopt},
                                                {32, DigestKind::kMd5, DigestKind::kXxh128},
                                                {40, DigestKind::kSha1, std::nullopt},
                                                {56, DigestKind::kSha224, std::nullopt},
                                                {64, DigestKind::kSha256, std::nullopt},
                                                {96, DigestKind::kSha384, std::nullopt},
                                                {128, DigestKind::kSha512, DigestKind::kBlake2b}}};

}  // namespace

std::size_t HexLength(DigestKind kind) {
    return FieldsOf(kind).hexLength;
}

const char* KindName(DigestKind kind) {
    return FieldsOf(kind).name;
}

std::optional<DigestKind> NamedKind(std::string_view listName) {
    const std::string name = LowerFileName(listName);
    for (const NameWord& each : kNameWords) {
        if (name.find(each.word) != std::string::npos) {
            return each.kind;
        }
    }
    // B2SUMS, b2sums.
    if (name.starts_with("b2")) {
        return DigestKind::kBlake2b;
    }
    return std::nullopt;
}

std::optional<ListedDigest> UntaggedKinds(std::size_t length, std::optional<DigestKind> named) {
    if (named == DigestKind::kBlake2b) {
        if (length % 2 != 0 || length == 0 || length > HexLength(DigestKind::kBlake2b)) {
            return std::nullopt;
        }
        return ListedDigest{DigestKind::kBlake2b, {}, 0, std::nullopt};
    }
    // xxhsum's lists hold XXH64 lines beside XXH128 ones.
    if (named == DigestKind::kXxh128 && length == HexLength(DigestKind::kXxh64)) {
        return ListedDigest{DigestKind::kXxh64, {}, 0, std::nullopt};
    }
    if (named && HexLength(*named) == length) {
        return ListedDigest{*named, {}, 0, std::nullopt};
    }
    for (const Untagged& each : kUntagged) {
        if (each.hexLength == length) {
            return ListedDigest{each.kind, {}, 0, each.orKind};
        }
    }
    return std::nullopt;
}

bool IsHex(std::string_view text, std::size_t length) {
    return text.size() == length &&
           std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; });
}

std::string LowerHex(std::string_view hex) {
    std::string lower(hex);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

}  // namespace rizo
