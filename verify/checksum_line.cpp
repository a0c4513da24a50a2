// SPDX-License-Identifier: MIT
// One line of a checksum file in the GNU, BSD tag or SFV form.
#include "verify/checksum_line.h"

#include <array>
#include <cctype>

#include "base/value_format.h"
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

bool IsHexDigit(char c) {
    return HexDigitValue(c) >= 0;
}

struct UnreadLength {
    std::size_t hexLength;
    const char* name;
};

constexpr std::array<UnreadLength, 3> kUnreadLengths = {
    {{56, "SHA224"}, {96, "SHA384"}, {128, "SHA512"}}};

// The tag of a "TAG (NAME) = HEX" line, whatever the tag; empty for a line of another shape.
std::string_view TagOf(std::string_view body) {
    std::size_t end = 0;
    while (end < body.size() && (std::isalnum(static_cast<unsigned char>(body[end])) != 0 ||
                                 body[end] == '-' || body[end] == '/')) {
        ++end;
    }
    std::size_t open = end;
    if (open < body.size() && body[open] == ' ') {
        ++open;
    }
    const std::size_t equals = body.rfind('=');
    if (end == 0 || open == body.size() || body[open] != '(' || equals == std::string_view::npos ||
        equals < open) {
        return {};
    }
    return body.substr(0, end);
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
        break;
    }
    return ParseGnu(body, escaped);
}

bool ChecksumLineParser::Reads(std::string_view line) const {
    ChecksumLineParser copy = *this;
    return copy.Parse(line).has_value();
}

std::optional<ChecksumLine> ChecksumLineParser::ParseGnu(std::string_view body, bool escaped) {
    std::size_t length = 0;
    while (length < body.size() && IsHexDigit(body[length])) {
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

std::optional<ChecksumLine> ParseSfvLine(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && std::isspace(static_cast<unsigned char>(line[end - 1])) != 0) {
        --end;
    }
    constexpr std::size_t kCrcLength = 8;
    // The name, one blank, the CRC; a ninth hex digit before the CRC makes it no CRC.
    if (end < kCrcLength + 2 || !IsBlank(line[end - kCrcLength - 1])) {
        return std::nullopt;
    }
    const std::string_view hex = line.substr(end - kCrcLength, kCrcLength);
    const std::string_view name = line.substr(0, end - kCrcLength - 1);
    if (!IsHex(hex, kCrcLength) || name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return ChecksumLine{DigestKind::kCrc32, LowerHex(hex), std::string(name)};
}

std::string UnreadDigest(std::string_view line, bool blake2Named) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos) {
        return {};
    }
    const std::string_view body = line.substr(i + (line[i] == '\\' ? 1 : 0));
    if (const std::string_view tag = TagOf(body); !tag.empty()) {
        for (const Tag& known : kTags) {
            if (tag == known.name) {
                return {};
            }
        }
        return std::string(tag.starts_with("BLAKE2b-") ? "BLAKE2b" : tag);
    }
    std::size_t length = 0;
    while (length < body.size() && IsHexDigit(body[length])) {
        ++length;
    }
    if (length == body.size() || !IsBlank(body[length])) {
        return {};
    }
    for (const UnreadLength& unread : kUnreadLengths) {
        if (unread.hexLength == length) {
            return length == 128 && blake2Named ? "BLAKE2b" : unread.name;
        }
    }
    return {};
}

}  // namespace rizo
