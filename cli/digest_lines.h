// The lines rizodidiz-cli prints for a hashed file.
#pragma once

#include <string>

#include "engine/file_entry.h"
#include "engine/hash_selection.h"

namespace rizo {

// With one digest selected "HEX  PATH" (the coreutils form); with several one "NAME (PATH) = HEX"
// per digest in the order MD5, SHA1, CRC32, SHA256 (the BSD tag form). Each line ends with '\n'.
std::string DigestLines(const std::string& path, const HashSelection& selection,
                        const FileEntry& entry);

}  // namespace rizo
