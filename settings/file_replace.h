// SPDX-License-Identifier: MIT
// Replacing a file's whole contents without losing the old ones or the file's identity.
#pragma once

#include <string>
#include <string_view>

namespace rizo {

// Puts `contents` into the file at `path`. Symbolic links are followed, also a dangling one,
// whose target is created. Where it can, the new text goes to a temporary file beside the
// target that is flushed and renamed over it with the old mode and owner, so readers see the
// old file or the complete new one. The file is written in place instead (truncated only
// after its space is reserved) when it is not a regular file, has other hard links, belongs
// to someone the process cannot give a file to, or when no temporary file can be made beside
// it (a read-only folder). A file or folder that grants nobody write permission counts as
// read-only, also for root. Returns false, leaving no temporary file, when anything fails;
// `error`, when given, then receives the errno of the failing step.
bool ReplaceFileContents(const std::string& path, std::string_view contents, int* error = nullptr);

// Deletes the temporary files that an interrupted ReplaceFileContents of `path` left beside
// its target: those whose writing process no longer runs.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace rizo
