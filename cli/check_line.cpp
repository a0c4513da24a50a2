// SPDX-License-Identifier: MIT
// The lines -c prints for each listed file.
#include "cli/check_line.h"

namespace rizo {
namespace {

bool Breaks(std::string_view name) {
    return name.find('\n') != std::string_view::npos;
}

std::string Escaped(std::string_view name) {
    std::string escaped;
    for (const char c : name) {
        escaped += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    }
    return escaped;
}

}  // namespace

std::string CheckLine(std::string_view name, std::string_view verdict) {
    const bool escape = Breaks(name);
    return (escape ? '\\' + Escaped(name) : std::string(name)) + ": " + std::string(verdict) + '\n';
}

std::string MovedLine(std::string_view name, std::string_view newName) {
    const bool escape = Breaks(name) || Breaks(newName);
    const auto shown = [escape](std::string_view each) {
        return escape ? Escaped(each) : std::string(each);
    };
    return (escape ? "\\" : "") + shown(name) + ": MOVED to " + shown(newName) + '\n';
}

}  // namespace rizo
