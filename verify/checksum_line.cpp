// SPDX-License-Identifier: MIT
// One line of a checksum file in the GNU, BSD tag or SFV form.
#include "verify/checksum_line.h"

#include <array>

#include "verify/checksum_name.h"

namespace rizo {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

struct Tag {
    std::string_view name;
    DigestKind kind;
};

// Longer tags first where one begins another.
constexpr std::array<Tag, 5> kTags = {{{"SHA2-256", DigestKind::kSha256},
                                       {"SHA256", DigestKind::kSha256},
                                       {"SHA1", DigestKind::kSha1},
                                       {"MD5", DigestKind::kMd5},
                                       {"CRC32", DigestKind::kCrc32}}};

std::optional<std::string> TakeName(std::string_view name, bool escaped) {
    if (name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return escaped ? UnescapeName(name) : std::optional<std::string>(name);
}

// "(NAME) = HEX" after the tag. The name runs to the last ')', since BSD tools write names
// unescaped.
std::optional<ChecksumLine> ParseBsd(std::string_view rest, DigestKind kind, bool escaped) {
    const std::size_t close = rest.rfind(')');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t i = close + 1;
    while (i < rest.size() && IsBlank(rest[i])) {
        ++i;
    }
    if (i == rest.size() || rest[i] != '=') {
        return std::nullopt;
    }
    ++i;
    while (i < rest.size() && IsBlank(rest[i])) {
        ++i;
    }
    const std::string_view hex = rest.substr(i);
    std::optional<std::string> name = TakeName(rest.substr(0, close), escaped);
    if (!IsHex(hex, HexLength(kind)) || !name) {
        return std::nullopt;
    }
    return ChecksumLine{kind, LowerHex(hex), std::move(*name)};
}

// "NAME HEX8": the name may hold spaces, the digest is the last field.
std::optional<ChecksumLine> ParseSfv(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) {
        --end;
    }
    const std::size_t blank = line.find_last_of(" \t", end == 0 ? 0 : end - 1);
    if (blank == std::string_view::npos || end < blank + 1) {
        return std::nullopt;
    }
    const std::string_view hex = line.substr(blank + 1, end - blank - 1);
    std::size_t nameEnd = blank;
    while (nameEnd > 0 && IsBlank(line[nameEnd - 1])) {
        --nameEnd;
    }
    if (nameEnd == 0 || !IsHex(hex, HexLength(DigestKind::kCrc32)) ||
        line.substr(0, nameEnd).find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return ChecksumLine{DigestKind::kCrc32, LowerHex(hex), std::string(line.substr(0, nameEnd))};
}

}  // namespace

std::optional<ChecksumLine> ChecksumLineParser::Parse(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
    }
    const bool escaped = i < line.size() && line[i] == '\\';
    const std::string_view body = line.substr(i + (escaped ? 1 : 0));
    for (const Tag& tag : kTags) {
        if (!body.starts_with(tag.name)) {
            continue;
        }
        std::size_t j = tag.name.size();
        if (j < body.size() && body[j] == ' ') {
            ++j;
        }
        if (j < body.size() && body[j] == '(') {
            return ParseBsd(body.substr(j + 1), tag.kind, escaped);
        }
        return std::nullopt;
    }
    if (std::optional<ChecksumLine> gnu = ParseGnu(body, escaped)) {
        return gnu;
    }
    return escaped ? std::nullopt : ParseSfv(line);
}

std::optional<ChecksumLine> ChecksumLineParser::ParseGnu(std::string_view body, bool escaped) {
    std::size_t length = 0;
    while (length < body.size() && IsHex(body.substr(length, 1), 1)) {
        ++length;
    }
    const std::optional<DigestKind> kind = KindOfHexLength(length);
    // The digest, one blank, and at least one more character.
    if (!kind || body.size() < length + 2 || !IsBlank(body[length])) {
        return std::nullopt;
    }
    std::size_t i = length + 1;
    if (body.size() - i == 1 || (body[i] != ' ' && body[i] != '*')) {
        if (gnuForm == GnuForm::kTwoCharacters) {
            return std::nullopt;
        }
        gnuForm = GnuForm::kOneSpace;
    } else if (gnuForm != GnuForm::kOneSpace) {
        gnuForm = GnuForm::kTwoCharacters;
        ++i;
    }
    std::optional<std::string> name = TakeName(body.substr(i), escaped);
    if (!name) {
        return std::nullopt;
    }
    return ChecksumLine{*kind, LowerHex(body.substr(0, length)), std::move(*name)};
}

}  // namespace rizo
