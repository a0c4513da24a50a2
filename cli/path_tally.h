// SPDX-License-Identifier: MIT
// How many listed files of the checksum lists name each path, and with which digests. The first
// pass notes a 53-bit hash of each listed file's path, with its digests, in 8 bytes; sorted once,
// they leave only the paths named more than once, in about 20 bytes each. Paths of equal hashes
// share one count: that only adds digests to compute or ends a kept result early (the file is read
// again), since callers compare the paths themselves.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/hash_selection.h"
#include "base/huge_page_allocator.h"
#include "verify/listed_file.h"

namespace rizo {

// The BLAKE2b length in bits the file's lines ask for where it is not 512, 0 otherwise: one read
// computes one BLAKE2b length, so a path is read once for every other length its lines ask for,
// and counted apart for each.
int OtherBlake2bBits(const ListedFile& listed);

class PathTally {
public:
    struct Count {
        // More than one listed file names the path; the other fields are only for such paths.
        bool repeated = false;
        // Listed files naming the path that are still to come.
        uint32_t later = 0;
        // The digests all of them list.
        HashSelection digests{false, false, false, false};
    };

    // Counts one more listed file naming `listed.name`, with its digests. Every Add comes before
    // the first Take.
    void Add(const ListedFile& listed);
    // Counts off one listed file, in the order they were added.
    Count Take(const ListedFile& listed);

private:
    struct Repeat {
        uint64_t key = 0;
        uint32_t later = 0;
        uint16_t digests = 0;  // a bit for each DigestKind
    };

    // The hash of the path and of the BLAKE2b length it is read for (see OtherBlake2bBits), with
    // the low bits clear for the digest bits.
    static uint64_t Key(const ListedFile& listed);
    // Sorts what Add noted and keeps the repeated paths.
    void KeepRepeats();
    void IndexRepeats();

    std::vector<uint64_t, HugePageAllocator<uint64_t>> added;
    bool settled = false;
    // Sorted by key.
    std::vector<Repeat, HugePageAllocator<Repeat>> repeats;
    // Where the repeats whose keys start with each value of their top bits begin, and the end.
    std::vector<uint32_t, HugePageAllocator<uint32_t>> buckets;
    int bucketShift = 64;
};

}  // namespace rizo
