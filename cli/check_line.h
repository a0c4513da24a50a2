// SPDX-License-Identifier: MIT
// The lines -c prints for each listed file: "NAME: VERDICT".
#pragma once

#include <string>
#include <string_view>

namespace rizo {

// "NAME: VERDICT" and a line feed. A name with a line feed would break the line: it is escaped,
// and the line marked by a leading backslash, as coreutils' checkers do.
std::string CheckLine(std::string_view name, std::string_view verdict);
// "NAME: MOVED to NEWNAME", with both names escaped when either needs it.
std::string MovedLine(std::string_view name, std::string_view newName);

}  // namespace rizo
