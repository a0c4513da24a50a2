// The lines rizodidiz-cli prints for a hashed file.
#pragma once

#include <string>

#include "cli/file_digests.h"
#include "engine/hash_selection.h"

namespace rizo {

// With one digest selected "HEX  PATH" (the coreutils form); with several one "NAME (PATH) = HEX"
// per digest in the order MD5, SHA1, CRC32, SHA256 (the BSD tag form). Each line ends with '\n'.
std::string DigestLines(const std::string& path, const HashSelection& selection,
                        const FileDigests& digests);

}  // namespace rizo
