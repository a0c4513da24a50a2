// SPDX-License-Identifier: MIT
// Reads each listed file once for all of the lines that name it.
#include "cli/read_once.h"

#include "verify/digest_verdict.h"

namespace rizo {

ReadOnce::Turn ReadOnce::Next(const ListedFile& listed) {
    const PathTally::Count count = tally.Take(listed.name);
    Turn turn{true, count.digests, nullptr};
    AddToSelection(listed, turn.digests);
    if (!count.repeated) {
        return turn;
    }
    if (const auto found = kept.find(listed.name); found != kept.end()) {
        turn = {false, {}, found->second};
        if (count.later == 0) {
            kept.erase(found);
        }
        return turn;
    }
    if (count.later != 0) {
        turn.result = std::make_shared<std::optional<KeptResult>>();
        kept.emplace(listed.name, turn.result);
    }
    return turn;
}

}  // namespace rizo
