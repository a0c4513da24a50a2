// SPDX-License-Identifier: MIT
// The lines rizodidiz-cli prints for a hashed file.
#pragma once

#include <optional>
#include <string>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "cli/cli_options.h"

namespace rizo {

// The standard layout is "HEX  PATH" (the coreutils form, "HEX *PATH" in binary mode) with one
// digest selected, and else one "NAME (PATH) = HEX" per digest in the program's digest order (the
// BSD tag form), which the tag layout always takes; the SFV layout is "PATH CRC32". Each digest's
// lines follow the program that writes them elsewhere: coreutils' escaping of names for MD5 to
// BLAKE2b, xxhsum's plain names for the xxHash ones (XXH3 in the tag form also alone, as xxhsum
// writes it). Lines end with '\n', or with NUL and the name unescaped with `zero`. No value for a
// name that the SFV layout cannot hold.
std::optional<std::string> DigestLines(const std::string& path, const HashSelection& selection,
                                       const FileEntry& entry, const LineForm& form);

}  // namespace rizo
