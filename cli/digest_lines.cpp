// SPDX-License-Identifier: MIT
// The lines rizodidiz-cli prints for a hashed file.
#include "cli/digest_lines.h"

#include <array>

#include "verify/checksum_name.h"

namespace rizo {

std::optional<std::string> DigestLines(const std::string& path, const HashSelection& selection,
                                       const FileEntry& entry, const LineForm& form) {
    const char end = form.zero ? '\0' : '\n';
    if (form.layout == LineLayout::kSfv) {
        // SFV has no escapes: a name that a reader would take for another line (a comment, a
        // byte order mark, a split line, trailing blanks lost) cannot be written.
        if (!form.zero && !SfvCanHold(path, entry.crc32)) {
            return std::nullopt;
        }
        return path + " " + entry.crc32 + end;
    }
    struct Row {
        bool selected;
        const char* name;
        const std::string& hex;
    };
    const std::array<Row, 4> rows = {{{selection.md5, "MD5", entry.md5},
                                      {selection.sha1, "SHA1", entry.sha1},
                                      {selection.crc32, "CRC32", entry.crc32},
                                      {selection.sha256, "SHA256", entry.sha256}}};
    int count = 0;
    for (const Row& row : rows) {
        count += row.selected ? 1 : 0;
    }
    // The checkers read a line starting with a backslash as holding an escaped name, so a name
    // with a line break still fits on one line.
    const bool escape = !form.zero && NeedsNameEscape(path);
    const std::string prefix = escape ? "\\" : "";
    const std::string name = escape ? EscapeName(path) : path;
    const std::string gap = form.binary ? " *" : "  ";
    std::string lines;
    for (const Row& row : rows) {
        if (!row.selected) {
            continue;
        }
        if (count == 1 && form.layout == LineLayout::kStandard) {
            lines += prefix + row.hex + gap + name + end;
        } else {
            lines += prefix + row.name + " (" + name + ") = " + row.hex + end;
        }
    }
    return lines;
}

}  // namespace rizo
