// Hashing one file for the command line, with the reason when it cannot be done.
#pragma once

#include <string>

#include "engine/digest_engine.h"
#include "engine/hash_selection.h"

namespace rizo {

struct FileDigests {
    std::string md5;
    std::string sha1;
    std::string crc32;
    std::string sha256;
};

// True when every selected digest was computed over the whole file; otherwise `reason` says why
// and `digests` must not be shown.
bool HashFile(DigestEngine& engine, const std::string& path, const HashSelection& selection,
              bool uppercase, FileDigests& digests, std::string& reason);

}  // namespace rizo
