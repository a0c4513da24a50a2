// SPDX-License-Identifier: MIT
// The digests the command line names.
#include "cli/digest_names.h"

#include <algorithm>

namespace rizo {

const std::array<DigestName, 11> kDigestNames = {{
    {"md5", "MD5", &HashSelection::md5, &FileEntry::md5, LineRule::kCoreutils},
    {"sha1", "SHA1", &HashSelection::sha1, &FileEntry::sha1, LineRule::kCoreutils},
    {"crc32", "CRC32", &HashSelection::crc32, &FileEntry::crc32, LineRule::kCoreutils},
    {"sha256", "SHA256", &HashSelection::sha256, &FileEntry::sha256, LineRule::kCoreutils},
    {"sha224", "SHA224", &HashSelection::sha224, &FileEntry::sha224, LineRule::kCoreutils},
    {"sha384", "SHA384", &HashSelection::sha384, &FileEntry::sha384, LineRule::kCoreutils},
    {"sha512", "SHA512", &HashSelection::sha512, &FileEntry::sha512, LineRule::kCoreutils},
    {"blake2b", "BLAKE2b", &HashSelection::blake2b, &FileEntry::blake2b, LineRule::kCoreutils},
    {"xxh64", "XXH64", &HashSelection::xxh64, &FileEntry::xxh64, LineRule::kXxhsum},
    {"xxh3", "XXH3", &HashSelection::xxh3, &FileEntry::xxh3, LineRule::kXxhsumTagged},
    {"xxh128", "XXH128", &HashSelection::xxh128, &FileEntry::xxh128, LineRule::kXxhsum},
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
    std::string name(digest.tag);
    if (digest.chosen == &HashSelection::blake2b && selection.blake2bBits != 512) {
        name += "-" + std::to_string(selection.blake2bBits);
    }
    return name;
}

int ChosenCount(const HashSelection& selection) {
    return static_cast<int>(
        std::count_if(kDigestNames.begin(), kDigestNames.end(),
                      [&selection](const DigestName& digest) { return selection.*digest.chosen; }));
}

}  // namespace rizo
