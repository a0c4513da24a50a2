// SPDX-License-Identifier: MIT
// How many listed files name each path, and with which digests.
#include "cli/path_tally.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>

#include "verify/digest_verdict.h"

namespace rizo {

namespace {

constexpr uint64_t kDigestBits = (uint64_t{1} << kDigestKindCount) - 1;

uint64_t DigestBit(DigestKind kind) {
    return uint64_t{1} << static_cast<unsigned>(kind);
}

HashSelection Selection(uint64_t bits) {
    HashSelection selection{false, false, false, false};
    for (std::size_t kind = 0; kind < kDigestKindCount; ++kind) {
        if ((bits & (uint64_t{1} << kind)) != 0) {
            const auto digest = static_cast<DigestKind>(kind);
            AddKind(digest, HexLength(digest), selection);
        }
    }
    return selection;
}

}  // namespace

int OtherBlake2bBits(const ListedFile& listed) {
    for (const ListedDigest& digest : listed.digests) {
        const auto bits = static_cast<int>(digest.hex.size() * 4);
        if (digest.kind == DigestKind::kBlake2b && bits != 512) {
            return bits;
        }
    }
    return 0;
}

void PathTally::Add(const ListedFile& listed) {
    uint64_t noted = Key(listed);
    for (const ListedDigest& digest : listed.digests) {
        noted |= DigestBit(digest.kind) | (digest.orKind ? DigestBit(*digest.orKind) : 0);
    }
    added.push_back(noted);
}

PathTally::Count PathTally::Take(const ListedFile& listed) {
    if (!settled) {
        KeepRepeats();
        IndexRepeats();
        settled = true;
    }
    if (repeats.empty()) {
        return {};
    }
    const uint64_t key = Key(listed);
    const std::size_t bucket = key >> bucketShift;
    const auto end = repeats.begin() + buckets[bucket + 1];
    const auto found = std::find_if(repeats.begin() + buckets[bucket], end,
                                    [key](const Repeat& each) { return each.key == key; });
    if (found == end) {
        return {};
    }
    // Only a path of the same hash can have counted it off already.
    if (found->later != 0) {
        --found->later;
    }
    return {true, found->later, Selection(found->digests)};
}

uint64_t PathTally::Key(const ListedFile& listed) {
    const auto bits = static_cast<uint64_t>(OtherBlake2bBits(listed));
    // Spreads the length over the high bits, which choose the bucket.
    return (std::hash<std::string_view>{}(listed.name) ^ (bits * 0x9E3779B97F4A7C15ULL)) &
           ~kDigestBits;
}

void PathTally::KeepRepeats() {
    std::sort(added.begin(), added.end());
    for (auto group = added.begin(); group != added.end();) {
        const uint64_t key = *group & ~kDigestBits;
        const auto end = std::find_if(
            group, added.end(), [key](uint64_t noted) { return (noted & ~kDigestBits) != key; });
        if (end - group > 1) {
            Repeat repeat{key, 0, 0};
            // A count that cannot grow only ends a kept result early.
            repeat.later = static_cast<uint32_t>(
                std::min<std::ptrdiff_t>(end - group, std::numeric_limits<uint32_t>::max()));
            for (auto each = group; each != end; ++each) {
                repeat.digests |= static_cast<uint16_t>(*each & kDigestBits);
            }
            repeats.push_back(repeat);
        }
        group = end;
    }
    added = {};
}

void PathTally::IndexRepeats() {
    // Hashes spread evenly: about one repeated path a bucket.
    const auto bucketBits = static_cast<int>(std::bit_width(repeats.size()));
    bucketShift = 64 - bucketBits;
    buckets.assign((std::size_t{1} << bucketBits) + 1, 0);
    std::size_t bucket = 0;
    for (std::size_t at = 0; at < repeats.size(); ++at) {
        for (; bucket <= repeats[at].key >> bucketShift; ++bucket) {
            buckets[bucket] = static_cast<uint32_t>(at);
        }
    }
    std::fill(buckets.begin() + static_cast<std::ptrdiff_t>(bucket), buckets.end(),
              static_cast<uint32_t>(repeats.size()));
}

}  // namespace rizo
