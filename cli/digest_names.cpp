// SPDX-License-Identifier: MIT
// The digests the command line names.
#include "cli/digest_names.h"

#include <algorithm>

namespace rizo {

const std::array<DigestName, 11> kDigestNames = {{
    {"md5", FieldsOf(DigestKind::kMd5), LineRule::kCoreutils},
    {"sha1", FieldsOf(DigestKind::kSha1), LineRule::kCoreutils},
    {"crc32", FieldsOf(DigestKind::kCrc32), LineRule::kCoreutils},
    {"sha256", FieldsOf(DigestKind::kSha256), LineRule::kCoreutils},
    {"sha224", FieldsOf(DigestKind::kSha224), LineRule::kCoreutils},
    {"sha384", FieldsOf(DigestKind::kSha384), LineRule::kCoreutils},
    {"sha512", FieldsOf(DigestKind::kSha512), LineRule::kCoreutils},
    {"blake2b", FieldsOf(DigestKind::kBlake2b), LineRule::kCoreutils},
    {"xxh64", FieldsOf(DigestKind::kXxh64), LineRule::kXxhsum},
    {"xxh3", FieldsOf(DigestKind::kXxh3), LineRule::kXxhsumTagged},
    {"xxh128", FieldsOf(DigestKind::kXxh128), LineRule::kXxhsum},
}};

const DigestName* FindDigest(std::string_view algorithm) {
    const auto found = std::find_if(
        kDigestNames.begin(), kDigestNames.end(),
        [algorithm](const DigestName& digest) { return digest.algorithm == algorithm; });
    return found == kDigestNames.end() ? nullptr : &*found;
}

std::string AlgorithmNames() {
    std::string names;
    for (const DigestName& digest : kDigestNames) {
        names += (names.empty() ? "" : ", ") + std::string(digest.algorithm);
    }
    return names;
}

std::string TagName(const DigestName& digest, const HashSelection& selection) {
    std::string name(digest.fields.name);
    if (digest.fields.kind == DigestKind::kBlake2b && selection.blake2bBits != 512) {
        name += "-" + std::to_string(selection.blake2bBits);
    }
    return name;
}

int ChosenCount(const HashSelection& selection) {
    return static_cast<int>(std::count_if(
        kDigestNames.begin(), kDigestNames.end(),
        [&selection](const DigestName& digest) { return selection.*digest.fields.chosen; }));
}

}  // namespace rizo
