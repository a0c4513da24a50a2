// The --progress display on standard error: one line redrawn in place on a terminal, plain lines
// elsewhere.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace rizo {

// "42.5% path"; empty below a thousandth of a percent, as in the window's progress pane.
std::string ProgressText(float percent, const std::string& path);

class ProgressLine {
public:
    // `width`: the terminal's columns, 0 when not on a terminal.
    ProgressLine(std::ostream& output, std::size_t width) : out(output), columns(width) {}

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
};

}  // namespace rizo
