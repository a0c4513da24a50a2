// SPDX-License-Identifier: MIT
// Reads each file the checksum lists name once for all of their lines: a first pass counts the
// listed files naming each path, and the second keeps the result of a path's first one (its
// outcome and digests) until its last one has been judged from it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "cli/kept_result.h"
#include "cli/path_tally.h"
#include "verify/listed_file.h"

namespace rizo {

class ReadOnce {
public:
    // Filled once the file has been read; empty while it has not, or when it never was.
    using SharedResult = std::shared_ptr<std::optional<KeptResult>>;

    // What the second pass does with a listed file.
    struct Turn {
        // Read the file now with `digests`; otherwise judge it from `result`.
        bool read = false;
        HashSelection digests{false, false, false, false};
        // Where the result goes for later listed files of the same path (none when no later one
        // names it), or where it comes from.
        SharedResult result;
    };

    // First pass: each listed file in the order the lists give them.
    void Count(const ListedFile& listed) { tally.Add(listed); }
    // Second pass: the same listed files in the same order. A path is compared by its bytes as
    // listed, which is how it is opened, and read again for each BLAKE2b length but 512 that its
    // lines ask for (see OtherBlake2bBits).
    Turn Next(const ListedFile& listed);

private:
    PathTally tally;
    // Results for paths still to be named again, by path and other BLAKE2b length.
    std::unordered_map<std::string, SharedResult> kept;
};

}  // namespace rizo
