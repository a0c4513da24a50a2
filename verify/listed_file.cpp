// SPDX-License-Identifier: MIT
// Digest kinds by name and hex length.
#include "verify/listed_file.h"

#include <algorithm>
#include <array>

#include "base/value_format.h"

namespace rizo {

namespace {

struct KindInfo {
    DigestKind kind;
    std::size_t hexLength;
    const char* name;
};

constexpr std::array<KindInfo, 4> kKinds = {{{DigestKind::kMd5, 32, "MD5"},
                                             {DigestKind::kSha1, 40, "SHA1"},
                                             {DigestKind::kCrc32, 8, "CRC32"},
                                             {DigestKind::kSha256, 64, "SHA256"}}};

}  // namespace

std::size_t HexLength(DigestKind kind) {
    return kKinds[static_cast<std::size_t>(kind)].hexLength;
}

const char* KindName(DigestKind kind) {
    return kKinds[static_cast<std::size_t>(kind)].name;
}

std::optional<DigestKind> KindOfHexLength(std::size_t length) {
    for (const KindInfo& info : kKinds) {
        if (info.hexLength == length) {
            return info.kind;
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
