// SPDX-License-Identifier: MIT
// A row's packed texts read back as a string for each would: writes of every length,
// emptying, the same length again and bytes such as NUL leave the other texts as they were.
#include "filelist/row_texts.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace rizo {
namespace {

TEST(RowTexts, EveryTextReadsBackAsWrittenWhateverItsNeighboursBecome) {
    RowTexts texts;
    std::array<std::string, RowTexts::kCount> expected;
    for (int index = 0; index < RowTexts::kCount; ++index) {
        EXPECT_TRUE(texts.Text(index).empty()) << "a new row's text " << index << " is not empty";
    }
    std::mt19937 random(7);
    for (int write = 0; write < 2000; ++write) {
        const int index = static_cast<int>(random() % RowTexts::kCount);
        // A third of the writes keep the text's length, so that a text is rewritten in place.
        const std::size_t length = random() % 3 == 0 ? expected[index].size() : random() % 40;
        std::string text(length, '\0');
        for (char& byte : text) {
            byte = static_cast<char>(random() % 256);
        }
        texts.Set(index, text);
        expected[index] = text;
        for (int other = 0; other < RowTexts::kCount; ++other) {
            ASSERT_EQ(texts.Text(other), expected[other])
                << "text " << other << " after write " << write << " to text " << index;
        }
    }
    for (int index = RowTexts::kCount - 1; index >= 0; --index) {
        texts.Set(index, "");
    }
    for (int index = 0; index < RowTexts::kCount; ++index) {
        EXPECT_TRUE(texts.Text(index).empty()) << "text " << index << " kept bytes once emptied";
    }
}

}  // namespace
}  // namespace rizo
