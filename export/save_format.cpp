// SPDX-License-Identifier: MIT
// What Save writes, chosen by the saved file's name.
#include "export/save_format.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace rizo {
namespace {

struct Extension {
    std::string_view text;
    SaveFormat format;
};

constexpr std::array<Extension, 5> kExtensions = {{{".txt", SaveFormat::kText},
                                                   {".md5", SaveFormat::kMd5},
                                                   {".sha1", SaveFormat::kSha1},
                                                   {".sha256", SaveFormat::kSha256},
                                                   {".sfv", SaveFormat::kSfv}}};

// `ending` is in lower case.
bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           std::equal(ending.begin(), ending.end(), text.end() - ending.size(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

SaveFormat SaveFormatOf(std::string_view path, SaveFormat chosen) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    for (const Extension& extension : kExtensions) {
        // A name that is the extension alone (".md5") is a hidden file's whole name.
        if (name.size() > extension.text.size() && EndsWithIgnoringCase(name, extension.text)) {
            return extension.format;
        }
    }
    return chosen;
}

std::optional<ChecksumFormat> ChecksumFormatOf(SaveFormat format) {
    if (format == SaveFormat::kText) {
        return std::nullopt;
    }
    return static_cast<ChecksumFormat>(static_cast<int>(format) - 1);
}

}  // namespace rizo
