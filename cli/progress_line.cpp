// SPDX-License-Identifier: MIT
// The --progress display on standard error.
#include "cli/progress_line.h"

namespace rizo {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Keeps the end of an overlong text, where the file name is, starting on a whole UTF-8 character.
// Counting bytes as columns can only make the text shorter than needed.
std::string FitTo(const std::string& text, std::size_t columns) {
    const std::string mark = "...";
    if (text.size() <= columns || columns <= mark.size()) {
        return text.substr(0, columns);
    }
    std::size_t start = text.size() - (columns - mark.size());
    while (start < text.size() && IsContinuationByte(text[start])) {
        ++start;
    }
    return mark + text.substr(start);
}

}  // namespace

bool ProgressLine::DueAt(Clock::time_point now) {
    const Clock::duration every =
        columns != 0 ? std::chrono::milliseconds(100) : std::chrono::seconds(1);
    if (lastDue && now - *lastDue < every) {
        return false;
    }
    lastDue = now;
    return true;
}

void ProgressLine::Show(const std::string& text) {
    if (columns == 0) {
        if (!text.empty() && text != shown) {
            out << text << '\n' << std::flush;
            shown = text;
        }
        return;
    }
    if (text.empty()) {
        Clear();
        return;
    }
    // The last column stays free: writing into it makes some terminals wrap at once.
    const std::string line = FitTo(text, columns - 1);
    const std::size_t leftover = shown.size() > line.size() ? shown.size() - line.size() : 0;
    out << '\r' << line << std::string(leftover, ' ') << std::flush;
    shown = line;
}

void ProgressLine::Clear() {
    if (columns != 0 && !shown.empty()) {
        out << '\r' << std::string(shown.size(), ' ') << '\r' << std::flush;
        shown.clear();
    }
}

}  // namespace rizo
