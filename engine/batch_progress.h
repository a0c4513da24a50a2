// SPDX-License-Identifier: MIT
// Whole-batch progress as a person reads it: percent of bytes, files done of all, smoothed speed
// and time left.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace rizo {

// What the worker has counted so far.
struct BatchCounts {
    uint64_t filesDone = 0;
    uint64_t filesTotal = 0;
    uint64_t bytesDone = 0;
    uint64_t bytesTotal = 0;
    // Every file's size is in bytesTotal; until then no percent or time left can be told.
    bool totalKnown = false;
};

struct BatchFigures {
    std::optional<int> percent;
    uint64_t filesDone = 0;
    uint64_t filesTotal = 0;
    std::optional<double> bytesPerSecond;
    std::optional<std::chrono::seconds> timeLeft;
};

// Turns samples of the counts into figures. Speed is an average over the last few seconds, so it
// does not jump with every file, and neither it nor the time left is told before the batch has run
// for half a second, when they would still be guesses.
class BatchProgress {
public:
    using Clock = std::chrono::steady_clock;

    void Start(Clock::time_point now);
    BatchFigures Sample(Clock::time_point now, const BatchCounts& counts);

private:
    void UpdateSpeed(Clock::time_point now, uint64_t bytesDone);

    Clock::time_point started{};
    Clock::time_point lastTime{};
    uint64_t lastBytes = 0;
    std::optional<double> speed;
};

// "37% · 12 of 345 files · 310 MB/s · 0:42 left", each part present when known.
std::string BatchProgressText(const BatchFigures& figures);

// Decimal units with three significant digits at most: "950 B/s", "4.5 MB/s", "310 MB/s".
std::string FormatSpeed(double bytesPerSecond);

// "0:42", "12:05", "1:02:03".
std::string FormatDuration(std::chrono::seconds duration);

}  // namespace rizo
