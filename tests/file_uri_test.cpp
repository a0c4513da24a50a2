// SPDX-License-Identifier: MIT
// Dropped URIs to local file names, bytes kept as they are.
#include "filelist/file_uri.h"

#include <gtest/gtest.h>

namespace rizo {
namespace {

TEST(FileUri, DecodesLocalFileUrisToRawBytes) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"file:///tmp/a%20b.txt", "/tmp/a b.txt"},
        {"file:///tmp/%FF%fe.bin", "/tmp/\xff\xfe.bin"},
        {"FILE://localhost/x", "/x"},
        {"file:/x/y", "/x/y"},
        {"file:///x/%23%3F?query#fragment", "/x/#?"},
        {"file://far.example/x", std::nullopt},
        {"http://example.org/x", std::nullopt},
        {"file:///bad%2", std::nullopt},
        {"file:///bad%zz", std::nullopt},
        {"file:///tmp/a%00/etc/passwd", std::nullopt},
        {"file:relative", std::nullopt},
    };
    for (const auto& [uri, path] : cases) {
        EXPECT_EQ(LocalPathFromFileUri(uri), path) << uri;
    }
}

TEST(FileUri, ListKeepsOrderAndSkipsCommentsAndOtherSchemes) {
    EXPECT_EQ(LocalPathsFromUriList("# comment\r\nfile:///b\r\nhttp://x/y\r\n\r\nfile:///a"),
              (std::vector<std::string>{"/b", "/a"}));
}

}  // namespace
}  // namespace rizo
