// SPDX-License-Identifier: MIT
// What Save writes: the records as text or a checksum file, chosen by the saved file's name.
#pragma once

#include <optional>
#include <string_view>

#include "export/checksum_export.h"

namespace rizo {

// In the order of the save dialog's types.
enum class SaveFormat { kText, kMd5, kSha1, kSha256, kSfv };

// The format the name `path` asks for by its extension (".txt", ".md5", ".sha1", ".sha256" or
// ".sfv", in any letter case), so that a file is what its name says whatever type the dialog
// showed; `chosen`, the dialog's type, for any other name.
SaveFormat SaveFormatOf(std::string_view path, SaveFormat chosen);

// The checksum file a format writes; none for the text records.
std::optional<ChecksumFormat> ChecksumFormatOf(SaveFormat format);

}  // namespace rizo
