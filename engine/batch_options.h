// SPDX-License-Identifier: MIT
// What a hashing batch is asked to do: the few choices it needs, not the program's settings.
#pragma once

#include <cstdint>
#include <limits>

#include "base/hash_selection.h"

namespace rizo {

struct BatchOptions {
    HashSelection hashes;
    // Digest texts in upper case.
    bool uppercase = false;
    // The host beeps when the batch has finished.
    bool beep = false;
    // The results carry the files' creation and modification times as texts; formatting them
    // was a quarter of the work of checking a list of small files, which shows no times.
    bool fileTimes = true;
    // Only each file's first byteLimit bytes are read and hashed (the command line's --bytes); a
    // file that holds fewer fails. The whole file by default.
    uint64_t byteLimit = std::numeric_limits<uint64_t>::max();
};

}  // namespace rizo
