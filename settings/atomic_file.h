// Whole-file replacement that never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>

namespace rizo {

// Writes `contents` to a new file in the folder of `path`, flushes it to disk and renames it
// over `path`, so readers see either the old file or the complete new one. The new file takes
// the old one's permission bits; a symbolic link at `path` is kept and its target replaced.
// A file or folder that grants nobody write permission counts as read-only, also for root,
// so a settings file locked by its owner is left alone. Returns false, with the old file and
// folder as they were, when anything fails; `error`, when given, then receives the errno of the
// failing step.
bool ReplaceFileAtomically(const std::string& path, std::string_view contents,
                           int* error = nullptr);

}  // namespace rizo
