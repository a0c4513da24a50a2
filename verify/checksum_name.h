// SPDX-License-Identifier: MIT
// The escaping of file names in checksum lines, as md5sum and sha256sum write and read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rizo {

// A name holding a backslash, line feed or carriage return is written escaped, on a line that
// starts with a backslash, so that it still fits on one line.
bool NeedsNameEscape(std::string_view name);
// "\\" for a backslash, "\n" and "\r" for the line breaks.
std::string EscapeName(std::string_view name);
// SFV has no escapes: true when the line "NAME CRC" reads back as this name and CRC, so not for a
// name with a line break, a leading comment mark or byte order mark, trailing blanks, or a line
// that reads as another form.
bool SfvCanHold(std::string_view name, std::string_view crc);
// The reverse; no value for any other escape, a trailing lone backslash or a NUL byte.
std::optional<std::string> UnescapeName(std::string_view escaped);

}  // namespace rizo
