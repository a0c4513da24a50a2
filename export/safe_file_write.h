// SPDX-License-Identifier: MIT
// Replaces a saved file's contents, with a reason the user can read when that fails.
#pragma once

#include <string>
#include <string_view>

namespace rizo {

// Puts `bytes` into the file at `path` as ReplaceFileContents does: through a temporary file and
// a rename where it can, in place where it must, following links. On failure `error` names the
// file and the reason.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace rizo
