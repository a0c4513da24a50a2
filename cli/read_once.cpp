// SPDX-License-Identifier: MIT
// Reads each listed file once for all of the lines that name it.
#include "cli/read_once.h"

#include "verify/digest_verdict.h"

namespace rizo {

ReadOnce::Turn ReadOnce::Next(const ListedFile& listed) {
    const PathTally::Count count = tally.Take(listed);
    Turn turn{true, count.digests, nullptr};
    AddToSelection(listed, turn.digests);
    if (!count.repeated) {
        return turn;
    }
    // Bytes no path holds part the reads for other BLAKE2b lengths.
    const int bits = OtherBlake2bBits(listed);
    const std::string key = bits == 0 ? listed.name : listed.name + '\0' + std::to_string(bits);
    if (const auto found = kept.find(key); found != kept.end()) {
        turn = {false, {}, found->second};
        if (count.later == 0) {
            kept.erase(found);
        }
        return turn;
    }
    if (count.later != 0) {
        turn.result = std::make_shared<std::optional<KeptResult>>();
        kept.emplace(key, turn.result);
    }
    return turn;
}

}  // namespace rizo
