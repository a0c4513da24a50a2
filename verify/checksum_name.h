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
// SFV has no escapes: true when the line "NAME CRC" of an SFV list reads back as this name and
// CRC, so not for a name with a line break or a leading comment mark or byte order mark ("#" too,
// which starts a comment where a list is not known to be SFV).
bool SfvCanHold(std::string_view name, std::string_view crc);
// The record layouts (Copy's text, saved text files) have no escapes of their own: a name with a
// line break, or one that starts with a backslash, is written escaped after a backslash, so that
// it stays on its line and reads back as itself.
std::string RecordName(std::string_view name);
// The name a record's line holds: the escaped form unescaped where it stands for a name that
// needed it; otherwise the text as it stands (also a record written before names were escaped).
std::string ReadRecordName(std::string_view text);
// The reverse; no value for any other escape, a trailing lone backslash or a NUL byte.
std::optional<std::string> UnescapeName(std::string_view escaped);
// The last part of `path` in lower case: what a list's or a saved file's name says of its form.
std::string LowerFileName(std::string_view path);

}  // namespace rizo
