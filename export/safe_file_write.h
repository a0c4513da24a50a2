// Replaces a file's contents all at once, or not at all.
#pragma once

#include <string>
#include <string_view>

namespace rizo {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over `path`.
// A link at `path` is followed, so the file it points to is replaced. On failure the file at
// `path` is left as it was and `error` names the file and the reason.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace rizo
