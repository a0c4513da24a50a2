// SPDX-License-Identifier: MIT
// The --progress display on standard error: one line redrawn in place on a terminal, plain lines
// elsewhere.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace rizo {

class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    // `width`: the terminal's columns, 0 when not on a terminal.
    ProgressLine(std::ostream& output, std::size_t width) : out(output), columns(width) {}

    // True, and taken as the time of a redraw, when the last one is long enough ago: a tenth of a
    // second on a terminal, a second for plain lines, which pile up in a log.
    bool DueAt(Clock::time_point now);

    // On a terminal the text replaces the line, cut to fit so that it never wraps, and an empty
    // text clears it. Elsewhere each text is a line of its own, written unless empty or equal to
    // the last one.
    void Show(const std::string& text);
    // Called before other output, which would otherwise continue the line on a terminal.
    void Clear();

private:
    std::ostream& out;
    std::size_t columns;
    std::string shown;
    std::optional<Clock::time_point> lastDue;
};

}  // namespace rizo
