// SPDX-License-Identifier: MIT
// Every CRC-32 fast path gives the plain table routine's result on the same bytes.
#include "engine/crc32_paths.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/crc32.h"

namespace rizo {
namespace {

std::vector<unsigned char> RandomBytes(std::size_t count, uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<unsigned char> bytes(count);
    for (auto& b : bytes) {
        b = static_cast<unsigned char>(generator());
    }
    return bytes;
}

class Crc32PathTest : public testing::TestWithParam<Crc32Path> {
protected:
    void SetUp() override {
        if (!GetParam().supported()) {
            GTEST_SKIP() << "this CPU lacks what the " << GetParam().name << " path needs";
        }
    }
    uint32_t Run(const void* data, std::size_t count, uint32_t crc) const {
        return GetParam().routine(data, count, crc);
    }
};

TEST_P(Crc32PathTest, MatchesTableRoutineForEveryShortLengthAndAlignment) {
    const auto bytes = RandomBytes(300 + 16, 1);
    std::mt19937 generator(2);
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t count = 0; count <= 300; ++count) {
            const auto start = static_cast<uint32_t>(generator());
            const unsigned char* data = bytes.data() + offset;
            ASSERT_EQ(Run(data, count, start), Crc32UpdatePortable(data, count, start))
                << "offset " << offset << ", count " << count;
        }
    }
}

TEST_P(Crc32PathTest, MatchesTableRoutineOnLargeBlocks) {
    const auto bytes = RandomBytes((1 << 20) + 100, 3);
    for (std::size_t count : {std::size_t{4096}, std::size_t{65536 + 13}, bytes.size() - 3}) {
        for (std::size_t offset : {0, 1, 3}) {
            ASSERT_EQ(Run(bytes.data() + offset, count, 0x12345678u),
                      Crc32UpdatePortable(bytes.data() + offset, count, 0x12345678u))
                << "offset " << offset << ", count " << count;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllPaths, Crc32PathTest, testing::ValuesIn(Crc32Paths()),
                         [](const testing::TestParamInfo<Crc32Path>& param) {
                             return std::string(param.param.name);
                         });

TEST(Crc32Update, AgreesWithTableRoutine) {
    const auto bytes = RandomBytes(70000, 6);
    for (std::size_t count : {0, 1, 63, 64, 65, 1000, 70000}) {
        EXPECT_EQ(Crc32Update(bytes.data(), count, 7u),
                  Crc32UpdatePortable(bytes.data(), count, 7u))
            << "count " << count;
    }
}

}  // namespace
}  // namespace rizo
