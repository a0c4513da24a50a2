// Text forms of sizes, digests, CRCs and file times.
#include "engine/value_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <vector>

namespace rizo {
namespace {

TEST(ValueFormat, SizesAreGroupedByCommaEveryThreeDigitsFromTheRight) {
    const std::vector<std::pair<uint64_t, std::string>> cases = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {123456, "123,456"},
        {1234567, "1,234,567"},
        {4294967296, "4,294,967,296"},
        {std::numeric_limits<uint64_t>::max(), "18,446,744,073,709,551,615"},
    };
    for (const auto& [size, text] : cases) {
        EXPECT_EQ(FormatFileSize(size), text) << size;
    }
}

TEST(ValueFormat, GroupingPutsTheWholeSeparatorBetweenGroupsOnly) {
    EXPECT_EQ(GroupThousands("", ","), "");
    EXPECT_EQ(GroupThousands("1234", ","), "1,234");
    EXPECT_EQ(GroupThousands("1234567", "<>"), "1<>234<>567");
}

TEST(ValueFormat, CrcKeepsEightDigitsInBothCases) {
    const std::vector<std::tuple<uint32_t, std::string, std::string>> cases = {
        {0, "00000000", "00000000"},
        {0xABCD, "0000abcd", "0000ABCD"},
        {0xCBF43926, "cbf43926", "CBF43926"},
    };
    for (const auto& [value, lower, upper] : cases) {
        EXPECT_EQ(FormatCrc32(value, false), lower);
        EXPECT_EQ(FormatCrc32(value, true), upper);
    }
}

TEST(ValueFormat, DigestBytesBecomeTwoHexDigitsEachInOrder) {
    const std::vector<unsigned char> bytes = {0x00, 0x0f, 0xa0, 0x9b, 0xff};
    EXPECT_EQ(FormatDigestHex(bytes, false), "000fa09bff");
    EXPECT_EQ(FormatDigestHex(bytes, true), "000FA09BFF");
    EXPECT_EQ(FormatDigestHex({}, true), "");
}

class LocalZone : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        hadZone = old != nullptr;
        oldZone = hadZone ? old : "";
        // Central European rules written out, so no time-zone database is needed.
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override {
        if (hadZone) {
            setenv("TZ", oldZone.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    bool hadZone = false;
    std::string oldZone;
};

TEST_F(LocalZone, TimesAreLocalWithDaylightSavingOfTheirOwnDateAndCutToTheMinute) {
    const std::vector<std::pair<std::time_t, std::string>> cases = {
        {1416384330, "2014-11-19 09:05"},  // 08:05:30 UTC, winter time
        {1404215999, "2014-07-01 13:59"},  // 11:59:59 UTC, summer time
        {1416437999, "2014-11-19 23:59"},  // 22:59:59 UTC: 23:59:59 local stays minute 59
        {0, "1970-01-01 01:00"},
    };
    for (const auto& [time, text] : cases) {
        EXPECT_EQ(FormatFileTime(time), text) << time;
    }
}

TEST_F(LocalZone, UnconvertibleTimeGivesEmptyText) {
    EXPECT_EQ(FormatFileTime(std::numeric_limits<std::time_t>::max()), "");
}

}  // namespace
}  // namespace rizo
