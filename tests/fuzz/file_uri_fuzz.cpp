// SPDX-License-Identifier: MIT
// Fuzz target of the file-URI decoder: a decoded name is an absolute path without NUL bytes, and
// every such path, percent-encoded into a URI, decodes back to itself.
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/file_uri.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

std::string FileUri(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-._~").find(c) != std::string_view::npos) {
            uri += c;
        } else {
            uri += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return uri;
}

void CheckPath(const std::string& path) {
    FUZZ_CHECK(!path.empty() && path[0] == '/');
    FUZZ_CHECK(path.find('\0') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (const std::optional<std::string> path = rizo::LocalPathFromFileUri(input)) {
        CheckPath(*path);
        FUZZ_CHECK(rizo::LocalPathFromFileUri(FileUri(*path)) == *path);
    }
    size_t lines = 1;
    for (const char c : input) {
        lines += c == '\n' ? 1 : 0;
    }
    const std::vector<std::string> paths = rizo::LocalPathsFromUriList(input);
    FUZZ_CHECK(paths.size() <= lines);
    for (const std::string& path : paths) {
        CheckPath(path);
    }
    // The input as a name: any absolute path without NUL goes through a URI unchanged.
    const std::string name = "/" + std::string(input.substr(0, input.find('\0')));
    FUZZ_CHECK(rizo::LocalPathFromFileUri(FileUri(name)) == name);
    return 0;
}
