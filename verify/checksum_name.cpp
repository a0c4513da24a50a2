// SPDX-License-Identifier: MIT
// The escaping of file names in checksum lines.
#include "verify/checksum_name.h"

#include "verify/checksum_line.h"

namespace rizo {

bool NeedsNameEscape(std::string_view name) {
    return name.find_first_of("\\\n\r") != std::string_view::npos;
}

std::string EscapeName(std::string_view name) {
    std::string text;
    text.reserve(name.size());
    for (const char c : name) {
        switch (c) {
            case '\\':
                text += "\\\\";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            default:
                text += c;
        }
    }
    return text;
}

std::optional<std::string> UnescapeName(std::string_view escaped) {
    std::string name;
    name.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c == '\0') {
            return std::nullopt;
        }
        if (c != '\\') {
            name += c;
            continue;
        }
        if (++i == escaped.size()) {
            return std::nullopt;
        }
        switch (escaped[i]) {
            case '\\':
                name += '\\';
                break;
            case 'n':
                name += '\n';
                break;
            case 'r':
                name += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return name;
}

bool SfvCanHold(std::string_view name, std::string_view crc) {
    if (name.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    // Comment lines are skipped, and a byte order mark at the start of the file is taken as one.
    for (const std::string_view lead : {"#", ";", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        if (name.starts_with(lead)) {
            return false;
        }
    }
    const std::optional<ChecksumLine> line =
        ChecksumLineParser().Parse(std::string(name) + " " + std::string(crc));
    return line && line->kind == DigestKind::kCrc32 && line->name == name &&
           line->hex == LowerHex(crc);
}

}  // namespace rizo
