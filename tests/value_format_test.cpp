// SPDX-License-Identifier: MIT
// Text forms of sizes and file times.
#include "base/value_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "tests/temp_folder.h"

namespace rizo {
namespace {

TEST(ValueFormat, SizesAreGroupedByCommaEveryThreeDigitsFromTheRight) {
    const std::vector<std::pair<uint64_t, std::string>> cases = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {123456, "123,456"},
        {4294967296, "4,294,967,296"},
        {std::numeric_limits<uint64_t>::max(), "18,446,744,073,709,551,615"},
    };
    for (const auto& [size, text] : cases) {
        EXPECT_EQ(FormatFileSize(size), text) << size;
    }
    EXPECT_EQ(GroupThousands("", ","), "");
    EXPECT_EQ(GroupThousands("1234567", "<>"), "1<>234<>567");
}

TEST(ValueFormat, TimesAreLocalWithDaylightSavingOfTheirOwnDateAndCutToTheMinute) {
    // Central European rules written out, so no time-zone database is needed.
    auto zone = std::make_unique<test::ScopedEnv>("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    const std::vector<std::pair<std::time_t, std::string>> cases = {
        {1416384330, "2014-11-19 09:05"},  // 08:05:30 UTC, winter time
        {1404215999, "2014-07-01 13:59"},  // 11:59:59 UTC, summer time
        {1416437999, "2014-11-19 23:59"},  // 22:59:59 UTC: 23:59:59 local stays minute 59
        {0, "1970-01-01 01:00"},
        {253402300800, "10000-01-01 01:00"},  // years past four digits and before 0 in full
        {-62167226400, "-001-12-31 23:00"},
        {std::numeric_limits<std::time_t>::max(), ""},  // beyond what local time can hold
    };
    for (const auto& [time, text] : cases) {
        EXPECT_EQ(FormatFileTime(time), text) << time;
    }
    zone.reset();
    tzset();
}

}  // namespace
}  // namespace rizo
