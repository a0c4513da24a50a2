// SPDX-License-Identifier: MIT
// Local file names from the URI list of a drop, kept as raw bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rizo {

// The local path of a "file:" URI, percent escapes decoded to bytes as they stand, so a name that
// is not valid UTF-8 stays intact. No value for other schemes, remote hosts, bad escapes or an
// escaped NUL, which no file name holds.
std::optional<std::string> LocalPathFromFileUri(std::string_view uri);

// The local paths of a "text/uri-list" payload, in order; comments and other URIs are skipped.
std::vector<std::string> LocalPathsFromUriList(std::string_view uriList);

}  // namespace rizo
