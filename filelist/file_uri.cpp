// SPDX-License-Identifier: MIT
// Local file names from the URI list of a drop, kept as raw bytes.
#include "filelist/file_uri.h"

#include <unistd.h>

#include <climits>

#include "base/value_format.h"

namespace rizo {
namespace {

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = HexDigitValue(text[i + 1]);
        const int low = HexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return out;
}

// Some file managers name the machine itself as the host.
bool IsLocalHost(std::string_view host) {
    if (host.empty() || host == "localhost") {
        return true;
    }
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name) == 0 && host == name;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> LocalPathFromFileUri(std::string_view uri) {
    constexpr std::string_view kScheme = "file:";
    if (!StartsWithNoCase(uri, kScheme)) {
        return std::nullopt;
    }
    uri.remove_prefix(kScheme.size());
    if (uri.substr(0, 2) == "//") {
        uri.remove_prefix(2);
        const size_t slash = uri.find('/');
        if (slash == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view host = uri.substr(0, slash);
        if (!IsLocalHost(host)) {
            return std::nullopt;
        }
        uri.remove_prefix(slash);
    }
    if (uri.empty() || uri[0] != '/') {
        return std::nullopt;
    }
    // Query and fragment are not part of a file name; a literal '?' or '#' arrives escaped.
    uri = uri.substr(0, uri.find_first_of("?#"));
    std::optional<std::string> path = PercentDecode(uri);
    // A NUL would cut the name short where it is opened, naming another file.
    if (path && path->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return path;
}

std::vector<std::string> LocalPathsFromUriList(std::string_view uriList) {
    std::vector<std::string> paths;
    while (!uriList.empty()) {
        const size_t end = uriList.find('\n');
        std::string_view line = uriList.substr(0, end);
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (std::optional<std::string> path = LocalPathFromFileUri(line)) {
            paths.push_back(std::move(*path));
        }
    }
    return paths;
}

}  // namespace rizo
