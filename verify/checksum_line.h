// SPDX-License-Identifier: MIT
// One line of a checksum file in the GNU form ("HEX  NAME", "HEX *NAME"), the BSD tag form
// ("SHA256 (NAME) = HEX", "BLAKE2b-256 (NAME) = HEX", "XXH3 (NAME) = HEX") or the SFV form
// ("NAME HEX8"). Which forms a list holds is the caller's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "verify/listed_file.h"

namespace rizo {

struct ChecksumLine {
    DigestKind kind = DigestKind::kMd5;
    std::string hex;
    std::string name;
    // See ListedDigest.
    std::optional<DigestKind> orKind;
};

// Keeps, as sha256sum does, whether the file's GNU lines have two characters between digest and
// name or one ("HEX NAME", as BSD's md5 -r writes): once one form is seen, lines of the other are
// not taken, so a name cannot gain or lose a leading space or star.
class ChecksumLineParser {
public:
    // `listNamed`: the digest the list's name says its untagged lines hold (see UntaggedKinds).
    explicit ChecksumLineParser(std::optional<DigestKind> listNamed = std::nullopt)
        : named(listNamed) {}
    // A GNU or BSD tag line; no value for a line of neither form. Comment and blank lines are the
    // caller's.
    std::optional<ChecksumLine> Parse(std::string_view line);
    // Whether Parse would read the line, leaving the form kept as it is.
    bool Reads(std::string_view line) const;

private:
    std::optional<ChecksumLine> ParseGnu(std::string_view line, bool escaped);
    enum class GnuForm { kUnknown, kTwoCharacters, kOneSpace };
    GnuForm gnuForm = GnuForm::kUnknown;
    std::optional<DigestKind> named;
};

// An SFV line as cksfv reads it: trailing blanks dropped, then exactly eight hex digits after one
// blank; the name is all before that blank, its own blanks kept. Comment and blank lines are the
// caller's.
std::optional<ChecksumLine> ParseSfvLine(std::string_view line);

// For a BSD tag line of a digest this program does not read, that digest's name ("XXH32"); empty
// otherwise.
std::string UnreadDigest(std::string_view line);

}  // namespace rizo
