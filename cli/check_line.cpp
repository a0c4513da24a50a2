// SPDX-License-Identifier: MIT
// The lines -c prints for each listed file.
#include "cli/check_line.h"

#include "verify/checksum_name.h"

namespace rizo {
namespace {

bool Breaks(std::string_view name) {
    return name.find('\n') != std::string_view::npos;
}

}  // namespace

std::string CheckLine(std::string_view name, std::string_view verdict) {
    const bool escape = Breaks(name);
    return (escape ? '\\' + EscapeName(name) : std::string(name)) + ": " + std::string(verdict) +
           '\n';
}

std::string MovedLine(std::string_view name, std::string_view newName) {
    const bool escape = Breaks(name) || Breaks(newName);
    const auto shown = [escape](std::string_view each) {
        return escape ? EscapeName(each) : std::string(each);
    };
    return (escape ? "\\" : "") + shown(name) + ": MOVED to " + shown(newName) + '\n';
}

}  // namespace rizo
