// SPDX-License-Identifier: MIT
// One line of a checksum file in the GNU form ("HEX  NAME", "HEX *NAME"), the BSD tag form
// ("SHA256 (NAME) = HEX") or the SFV form ("NAME HEX8").
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
};

// Keeps, as sha256sum does, whether the file's GNU lines have two characters between digest and
// name or one ("HEX NAME", as BSD's md5 -r writes): once one form is seen, lines of the other are
// not taken, so a name cannot gain or lose a leading space or star.
class ChecksumLineParser {
public:
    // No value for a line of none of the forms. Comment and blank lines are the caller's.
    std::optional<ChecksumLine> Parse(std::string_view line);

private:
    std::optional<ChecksumLine> ParseGnu(std::string_view line, bool escaped);
    enum class GnuForm { kUnknown, kTwoCharacters, kOneSpace };
    GnuForm gnuForm = GnuForm::kUnknown;
};

}  // namespace rizo
