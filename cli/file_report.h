// SPDX-License-Identifier: MIT
// What the command line says about a hashed file that has no digests to show.
#pragma once

#include <string>

#include "base/file_entry.h"
#include "base/hash_selection.h"

namespace rizo {

// Empty when every selected digest was computed over the whole file; otherwise why not.
std::string FailureReason(const FileEntry& entry, const HashSelection& selection);

}  // namespace rizo
