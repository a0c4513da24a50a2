// The lines rizodidiz-cli prints for a hashed file.
#include "cli/digest_lines.h"

#include <array>

#include "verify/checksum_name.h"

namespace rizo {

std::string DigestLines(const std::string& path, const HashSelection& selection,
                        const FileEntry& entry) {
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
    const std::string prefix = NeedsNameEscape(path) ? "\\" : "";
    const std::string name = NeedsNameEscape(path) ? EscapeName(path) : path;
    std::string lines;
    for (const Row& row : rows) {
        if (!row.selected) {
            continue;
        }
        if (count == 1) {
            lines += prefix + row.hex + "  " + name + "\n";
        } else {
            lines += prefix + row.name + " (" + name + ") = " + row.hex + "\n";
        }
    }
    return lines;
}

}  // namespace rizo
