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

// Longer tags first where one begins another. BLAKE2b's tag may carry its length in bits,
// "BLAKE2b-256", as b2sum -l writes it.
constexpr std::array<Tag, 15> kTags = {{{"SHA2-256", DigestKind::kSha256},
                                        {"SHA256", DigestKind::kSha256},
                                        {"SHA1", DigestKind::kSha1},
                                        {"MD5", DigestKind::kMd5},
                                        {"CRC32", DigestKind::kCrc32},
                                        {"SHA2-224", DigestKind::kSha224},
                                        {"SHA224", DigestKind::kSha224},
                                        {"SHA2-384", DigestKind::kSha384},
                                        {"SHA384", DigestKind::kSha384},
                                        {"SHA2-512", DigestKind::kSha512},
                                        {"SHA512", DigestKind::kSha512},
                                        {"BLAKE2b", DigestKind::kBlake2b},
                                        {"XXH64", DigestKind::kXxh64},
                                        {"XXH128", DigestKind::kXxh128},
                                        {"XXH3", DigestKind::kXxh3}}};

// A known tag at the start of `body`: its digest, hex length and where the tag ends.
struct TagFound {
    DigestKind kind;
    std::size_t hexLength;
    std::size_t end;
};

std::optional<TagFound> FindTag(std::string_view body) {
    for (const Tag& tag : kTags) {
        if (!body.starts_with(tag.name)) {
            continue;
        }
        TagFound found{tag.kind, HexLength(tag.kind), tag.name.size()};
        if (tag.kind != DigestKind::kBlake2b || found.end == body.size() ||
            body[found.end] != '-') {
            return found;
        }
        std::size_t bits = 0;
        std::size_t i = found.end + 1;
        for (; i < body.size() && body[i] >= '0' && body[i] <= '9' && bits <= 512; ++i) {
            bits = bits * 10 + static_cast<std::size_t>(body[i] - '0');
        }
        if (i == found.end + 1 || bits == 0 || bits % 8 != 0 || bits > 512) {
            return std::nullopt;
        }
        return TagFound{tag.kind, bits / 4, i};
    }
    return std::nullopt;
}

std::optional<std::string> TakeName(std::string_view name, bool escaped) {
    if (name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return escaped ? UnescapeName(name) : std::optional<std::string>(name);
}

// "(NAME) = HEX" after the tag. The name runs to the last ')', since BSD tools write names
// unescaped.
std::optional<ChecksumLine> ParseBsd(std::string_view rest, const TagFound& tag, bool escaped) {
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
    if (!IsHex(hex, tag.hexLength) || !name) {
        return std::nullopt;
    }
    return ChecksumLine{tag.kind, LowerHex(hex), std::move(*name), std::nullopt};
}

bool IsHexDigit(char c) {
    return HexDigitValue(c) >= 0;
}

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
    if (const std::optional<TagFound> tag = FindTag(body)) {
        std::size_t j = tag->end;
        if (j < body.size() && body[j] == ' ') {
            ++j;
        }
        if (j < body.size() && body[j] == '(') {
            return ParseBsd(body.substr(j + 1), *tag, escaped);
        }
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
    const std::optional<ListedDigest> kind = UntaggedKinds(length, named);
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
    return ChecksumLine{kind->kind, LowerHex(body.substr(0, length)), std::move(*name),
                        kind->orKind};
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
    return ChecksumLine{DigestKind::kCrc32, LowerHex(hex), std::string(name), std::nullopt};
}

std::string UnreadDigest(std::string_view line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos) {
        return {};
    }
    const std::string_view body = line.substr(i + (line[i] == '\\' ? 1 : 0));
    const std::string_view tag = TagOf(body);
    const std::optional<TagFound> known = FindTag(tag);
    // A BLAKE2b tag of a length b2sum does not write is improper, as there.
    if (tag.empty() || tag.starts_with("BLAKE2b") || (known && known->end == tag.size())) {
        return {};
    }
    return std::string(tag);
}

}  // namespace rizo
