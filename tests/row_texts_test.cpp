// SPDX-License-Identifier: MIT
// A row's packed cell texts read back as a string for each cell would: writes of every length,
// emptying, the same length again and bytes such as NUL leave the other cells as they were.
#include "filelist/row_texts.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace rizo {
namespace {

TEST(RowTexts, EveryCellReadsBackAsWrittenWhateverItsNeighboursBecome) {
    RowTexts texts;
    std::array<std::string, kColumnCount> expected;
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_TRUE(texts.Text(column).empty()) << "a new row's cell " << column << " has text";
    }
    std::mt19937 random(7);
    for (int write = 0; write < 2000; ++write) {
        const int column = static_cast<int>(random() % kColumnCount);
        // A third of the writes keep the cell's length, so that a text is rewritten in place.
        const std::size_t length = random() % 3 == 0 ? expected[column].size() : random() % 40;
        std::string text(length, '\0');
        for (char& byte : text) {
            byte = static_cast<char>(random() % 256);
        }
        texts.Set(column, text);
        expected[column] = text;
        for (int other = 0; other < kColumnCount; ++other) {
            ASSERT_EQ(texts.Text(other), expected[other])
                << "cell " << other << " after write " << write << " to cell " << column;
        }
    }
    for (int column = kColumnCount - 1; column >= 0; --column) {
        texts.Set(column, "");
    }
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_TRUE(texts.Text(column).empty()) << "cell " << column << " kept text once emptied";
    }
}

}  // namespace
}  // namespace rizo
