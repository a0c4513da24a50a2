// SPDX-License-Identifier: MIT
// The --progress line: redrawn in place on a terminal, cut to its width; plain lines elsewhere.
#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace rizo {
namespace {

TEST(ProgressLineTest, RedrawsAtMostTenTimesASecondOnATerminalAndOnceASecondElsewhere) {
    using std::chrono::milliseconds;
    struct Case {
        std::size_t width;
        std::vector<int> asks;  // milliseconds after the first
        std::string due;        // "y" or "n" per ask
    };
    const Case cases[] = {
        {80, {0, 50, 99, 100, 150, 199, 200}, "ynnynny"},
        {0, {0, 100, 999, 1000, 1500, 2000}, "ynnyny"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        ProgressLine line(out, c.width);
        std::string due;
        for (int ask : c.asks) {
            due += line.DueAt(ProgressLine::Clock::time_point{} + milliseconds(ask)) ? "y" : "n";
        }
        EXPECT_EQ(due, c.due) << c.width;
    }
}

TEST(ProgressLineTest, EachStepWritesWhatTheScreenNeeds) {
    struct Case {
        std::string label;
        std::size_t width;
        std::vector<std::string> steps;  // "" for Clear(), "show:TEXT" for Show(TEXT)
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"redrawn in place", 20, {"show:a 1", "show:a 2"}, "\ra 1\ra 2"},
        {"shorter text blanks the rest", 20, {"show:a 10", "show:b"}, "\ra 10\rb   "},
        {"cleared before other output", 20, {"show:x", "", ""}, "\rx\r \r"},
        {"empty text clears", 20, {"show:xy", "show:"}, "\rxy\r  \r"},
        {"nothing to clear", 20, {"", "show:"}, ""},
        {"cut to the width, keeping the end", 10, {"show:100.0% /long/path/name"}, "\r...h/name"},
        {"cut on a whole character", 7, {"show:abcd\xC3\xA9xy"}, "\r...xy"},
        {"plain lines without repeats",
         0,
         {"show:a", "show:a", "", "show:a", "show:", "show:b"},
         "a\nb\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        ProgressLine line(out, c.width);
        for (const std::string& step : c.steps) {
            if (step.empty()) {
                line.Clear();
            } else {
                line.Show(step.substr(5));
            }
        }
        EXPECT_EQ(out.str(), c.expected) << c.label;
    }
}

}  // namespace
}  // namespace rizo
