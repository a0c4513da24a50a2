// SPDX-License-Identifier: MIT
// What Save writes, chosen by the saved file's name.
#include "export/save_format.h"

#include <array>
#include <string>

#include "verify/checksum_name.h"

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

}  // namespace

SaveFormat SaveFormatOf(std::string_view path, SaveFormat chosen) {
    const std::string name = LowerFileName(path);
    for (const Extension& extension : kExtensions) {
        // A name that is the extension alone (".md5") is a hidden file's whole name.
        if (name.size() > extension.text.size() && name.ends_with(extension.text)) {
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
