// SPDX-License-Identifier: MIT
// The digests the command line names: -a's names, the tag lines' names, and the program whose
// lines each digest's lines copy.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/digest_kind.h"

namespace rizo {

// How a digest's lines are written, after the program that writes them elsewhere.
enum class LineRule {
    // md5sum, sha512sum, b2sum: a name with a backslash or line break is escaped on a line
    // starting with a backslash; standard input is "-".
    kCoreutils,
    // xxhsum: names as they are, standard input as "stdin".
    kXxhsum,
    // xxhsum's XXH3: as kXxhsum, and in the tag form also alone.
    kXxhsumTagged,
};

struct DigestName {
    // As -a takes it: cksum's name where cksum has the digest.
    std::string_view algorithm;
    // Where it is chosen and where its text is, and its tag lines' name ("NAME (FILE) = HEX"), to
    // which BLAKE2b adds its length below 512.
    DigestFields fields;
    LineRule rule;
};

// Every digest, in the program's digest order, which is the order of a file's lines.
extern const std::array<DigestName, 11> kDigestNames;

// The row -a names `algorithm`; null for none.
const DigestName* FindDigest(std::string_view algorithm);

// -a's names, comma-separated, as a message lists them.
std::string AlgorithmNames();

// The tag name of `digest` as `selection` computes it: "BLAKE2b-256" for a 256-bit BLAKE2b, as
// b2sum --tag writes it.
std::string TagName(const DigestName& digest, const HashSelection& selection);

// How many digests `selection` chooses.
int ChosenCount(const HashSelection& selection);

}  // namespace rizo
