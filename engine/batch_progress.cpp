// SPDX-License-Identifier: MIT
// Whole-batch progress: percent, files, smoothed speed and time left, and their text.
#include "engine/batch_progress.h"

#include <cmath>
#include <cstdio>

#include "base/value_format.h"

namespace rizo {

namespace {

using Seconds = std::chrono::duration<double>;

// Speed and time left are guesses before this; after it they are told.
constexpr Seconds kSettleTime{0.5};
// Samples closer together than this are merged into the next one: short intervals are noise.
constexpr Seconds kMinInterval{0.2};
// The speed follows a change with this time constant, so one slow or fast file barely moves it.
constexpr double kSmoothingSeconds = 3.0;

constexpr char kSeparator[] = " \u00B7 ";

}  // namespace

void BatchProgress::Start(Clock::time_point now) {
    started = now;
    lastTime = now;
    lastBytes = 0;
    speed.reset();
}

BatchFigures BatchProgress::Sample(Clock::time_point now, const BatchCounts& counts) {
    BatchFigures figures;
    figures.filesDone = counts.filesDone;
    figures.filesTotal = counts.filesTotal;
    if (counts.totalKnown) {
        // Files may grow while they are read; the percent never passes 100.
        const uint64_t done = std::min(counts.bytesDone, counts.bytesTotal);
        figures.percent = counts.bytesTotal > 0 ? static_cast<int>(done * 100 / counts.bytesTotal)
                          : counts.filesTotal > 0
                              ? static_cast<int>(counts.filesDone * 100 / counts.filesTotal)
                              : 100;
    }
    UpdateSpeed(now, counts.bytesDone);
    if (!speed) {
        return figures;
    }
    figures.bytesPerSecond = speed;
    if (counts.totalKnown && *speed > 0) {
        const uint64_t left =
            counts.bytesTotal > counts.bytesDone ? counts.bytesTotal - counts.bytesDone : 0;
        figures.timeLeft = std::chrono::seconds(
            static_cast<int64_t>(std::ceil(static_cast<double>(left) / *speed)));
    }
    return figures;
}

void BatchProgress::UpdateSpeed(Clock::time_point now, uint64_t bytesDone) {
    const Seconds sinceStart = now - started;
    if (sinceStart < kSettleTime) {
        return;
    }
    if (!speed) {
        speed = static_cast<double>(bytesDone) / sinceStart.count();
    } else {
        const Seconds interval = now - lastTime;
        if (interval < kMinInterval) {
            return;
        }
        const double recent =
            static_cast<double>(bytesDone - std::min(bytesDone, lastBytes)) / interval.count();
        const double weight = 1.0 - std::exp(-interval.count() / kSmoothingSeconds);
        *speed += weight * (recent - *speed);
    }
    lastTime = now;
    lastBytes = bytesDone;
}

std::string BatchProgressText(const BatchFigures& figures) {
    std::string text;
    if (figures.percent) {
        text = std::to_string(*figures.percent) + "%" + kSeparator;
    }
    text += FormatFileSize(figures.filesDone) + " of " + FormatFileSize(figures.filesTotal) +
            (figures.filesTotal == 1 ? " file" : " files");
    if (figures.bytesPerSecond) {
        text += kSeparator + FormatSpeed(*figures.bytesPerSecond);
    }
    if (figures.timeLeft) {
        text += kSeparator + FormatDuration(*figures.timeLeft) + " left";
    }
    return text;
}

std::string FormatSpeed(double bytesPerSecond) {
    static constexpr const char* kUnits[] = {"B/s", "kB/s", "MB/s", "GB/s", "TB/s"};
    double value = std::max(bytesPerSecond, 0.0);
    std::size_t unit = 0;
    // Rounded first, so 999.7 kB/s becomes 1.0 MB/s rather than "1000 kB/s".
    while (unit + 1 < std::size(kUnits) && std::round(value) >= 1000.0) {
        value /= 1000.0;
        ++unit;
    }
    char text[32];
    const bool oneDecimal = unit > 0 && std::round(value * 10.0) < 100.0;
    std::snprintf(text, sizeof text, oneDecimal ? "%.1f %s" : "%.0f %s", value, kUnits[unit]);
    return text;
}

std::string FormatDuration(std::chrono::seconds duration) {
    const int64_t total = std::max<int64_t>(duration.count(), 0);
    const int64_t hours = total / 3600;
    const int64_t minutes = total / 60 % 60;
    const int64_t seconds = total % 60;
    char text[32];
    if (hours > 0) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(hours),
                      static_cast<long long>(minutes), static_cast<long long>(seconds));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(minutes),
                      static_cast<long long>(seconds));
    }
    return text;
}

}  // namespace rizo
