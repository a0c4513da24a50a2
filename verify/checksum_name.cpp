// SPDX-License-Identifier: MIT
// The escaping of file names in checksum lines.
#include "verify/checksum_name.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "verify/checksum_line.h"

namespace rizo {

namespace {

// Byte order marks, taken for the text's encoding at the start of a file.
constexpr std::string_view kByteOrderMarks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};

bool StartsAsByteOrderMark(std::string_view name) {
    return std::any_of(std::begin(kByteOrderMarks), std::end(kByteOrderMarks),
                       [name](std::string_view mark) { return name.starts_with(mark); });
}

// A record's first name could start the file, so a name starting as a byte order mark does is
// escaped too.
bool NeedsRecordEscape(std::string_view name) {
    return name.find_first_of("\r\n") != std::string_view::npos || name.starts_with('\\') ||
           StartsAsByteOrderMark(name);
}

}  // namespace

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
    if (name.starts_with('#') || name.starts_with(';') || StartsAsByteOrderMark(name)) {
        return false;
    }
    const std::optional<ChecksumLine> line =
        ParseSfvLine(std::string(name) + " " + std::string(crc));
    return line && line->name == name && line->hex == LowerHex(crc);
}

std::string RecordName(std::string_view name) {
    return NeedsRecordEscape(name) ? "\\" + EscapeName(name) : std::string(name);
}

std::string ReadRecordName(std::string_view text) {
    if (text.starts_with('\\')) {
        std::optional<std::string> name = UnescapeName(text.substr(1));
        if (name && NeedsRecordEscape(*name)) {
            return std::move(*name);
        }
    }
    return std::string(text);
}

std::string LowerFileName(std::string_view path) {
    std::string name(path.substr(path.rfind('/') + 1));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

}  // namespace rizo
