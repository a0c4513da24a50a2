// SPDX-License-Identifier: MIT
// Whole-batch progress on a fake clock: percent, files, smoothed speed, time left and their text.
#include "engine/batch_progress.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rizo {
namespace {

using namespace std::chrono_literals;
using Clock = BatchProgress::Clock;

const Clock::time_point t0{};

BatchCounts Counts(uint64_t filesDone, uint64_t filesTotal, uint64_t bytesDone, uint64_t bytesTotal,
                   bool known = true) {
    return {filesDone, filesTotal, bytesDone, bytesTotal, known};
}

TEST(BatchProgress, PercentIsOfBytesOnceTheTotalIsKnown) {
    struct Case {
        BatchCounts counts;
        std::optional<int> percent;
    };
    const Case cases[] = {
        {Counts(12, 345, 370, 1000), 37},
        {Counts(12, 345, 999, 1000), 99},
        {Counts(344, 345, 370, 1000, false), std::nullopt},
        {Counts(3, 4, 0, 0), 75},         // only empty files: counted by files
        {Counts(0, 0, 0, 0), 100},        // an empty batch
        {Counts(1, 1, 1500, 1000), 100},  // a file grew while it was read
        {Counts(0, 2, uint64_t{5} << 40, uint64_t{10} << 40), 50},
    };
    for (const Case& c : cases) {
        BatchProgress progress;
        progress.Start(t0);
        const BatchFigures figures = progress.Sample(t0 + 100ms, c.counts);
        EXPECT_EQ(figures.percent, c.percent)
            << c.counts.bytesDone << " of " << c.counts.bytesTotal;
        EXPECT_EQ(figures.filesDone, c.counts.filesDone);
        EXPECT_EQ(figures.filesTotal, c.counts.filesTotal);
    }
}

TEST(BatchProgress, SpeedAndTimeLeftAppearAfterHalfASecondAndFollowChangesSmoothly) {
    BatchProgress progress;
    progress.Start(t0);
    constexpr uint64_t kTotal = 100'000'000;
    // 10 MB/s for the first two seconds.
    const BatchFigures early = progress.Sample(t0 + 400ms, Counts(1, 10, 4'000'000, kTotal));
    EXPECT_FALSE(early.bytesPerSecond);
    EXPECT_FALSE(early.timeLeft);
    const BatchFigures settled = progress.Sample(t0 + 500ms, Counts(1, 10, 5'000'000, kTotal));
    ASSERT_TRUE(settled.bytesPerSecond);
    EXPECT_DOUBLE_EQ(*settled.bytesPerSecond, 10'000'000.0);
    EXPECT_EQ(settled.timeLeft, 10s);  // 95 MB left at 10 MB/s, rounded up
    for (auto t = 750ms; t <= 2000ms; t += 250ms) {
        const BatchFigures steady = progress.Sample(
            t0 + t, Counts(2, 10, 10'000 * static_cast<uint64_t>(t.count()), kTotal));
        EXPECT_NEAR(*steady.bytesPerSecond, 10'000'000.0, 1.0) << t.count();
    }
    // Samples closer than a fifth of a second are merged into the next one.
    EXPECT_NEAR(*progress.Sample(t0 + 2010ms, Counts(2, 10, 25'000'000, kTotal)).bytesPerSecond,
                10'000'000.0, 1.0);
    // A burst of 40 MB in a quarter second (160 MB/s) moves the speed only part of the way.
    const BatchFigures burst = progress.Sample(t0 + 2250ms, Counts(3, 10, 60'000'000, kTotal));
    EXPECT_GT(*burst.bytesPerSecond, 15'000'000.0);
    EXPECT_LT(*burst.bytesPerSecond, 30'000'000.0);
    ASSERT_TRUE(burst.timeLeft);
    EXPECT_EQ(*burst.timeLeft, std::chrono::seconds(static_cast<int64_t>(
                                   std::ceil(40'000'000.0 / *burst.bytesPerSecond))));
    // Held at 40 MB/s, the speed comes close within a few smoothing periods.
    uint64_t done = 60'000'000;
    BatchFigures later;
    for (auto t = 2500ms; t <= 12000ms; t += 500ms) {
        done += 20'000'000;
        later = progress.Sample(t0 + t, Counts(3, 10, done, uint64_t{1} << 40));
    }
    EXPECT_NEAR(*later.bytesPerSecond, 40'000'000.0, 2'000'000.0);
    // No time left without a total, nor while nothing moves.
    EXPECT_FALSE(progress.Sample(t0 + 13s, Counts(3, 10, done, 0, false)).timeLeft);
    BatchProgress stalled;
    stalled.Start(t0);
    const BatchFigures still = stalled.Sample(t0 + 1s, Counts(0, 5, 0, 1000));
    EXPECT_EQ(still.bytesPerSecond, 0.0);
    EXPECT_FALSE(still.timeLeft);
}

TEST(BatchProgress, Texts) {
    const std::pair<BatchFigures, std::string> figures[] = {
        {{37, 12, 345, 310e6, 42s}, "37% \u00B7 12 of 345 files \u00B7 310 MB/s \u00B7 0:42 left"},
        {{std::nullopt, 0, 1, std::nullopt, std::nullopt}, "0 of 1 file"},
        {{100, 12345, 100000, 1.26e9, std::nullopt},
         "100% \u00B7 12,345 of 100,000 files \u00B7 1.3 GB/s"},
    };
    for (const auto& [f, text] : figures) {
        EXPECT_EQ(BatchProgressText(f), text);
    }
    const std::pair<double, std::string> speeds[] = {
        {0, "0 B/s"},        {950, "950 B/s"},    {999.6, "1.0 kB/s"},   {4.54e6, "4.5 MB/s"},
        {45.2e6, "45 MB/s"}, {310e6, "310 MB/s"}, {999.7e6, "1.0 GB/s"}, {2e15, "2000 TB/s"},
    };
    for (const auto& [speed, text] : speeds) {
        EXPECT_EQ(FormatSpeed(speed), text) << speed;
    }
    const std::pair<std::chrono::seconds, std::string> durations[] = {
        {0s, "0:00"}, {42s, "0:42"}, {725s, "12:05"}, {3723s, "1:02:03"}, {-5s, "0:00"}};
    for (const auto& [duration, text] : durations) {
        EXPECT_EQ(FormatDuration(duration), text) << duration.count();
    }
}

}  // namespace
}  // namespace rizo
