// SPDX-License-Identifier: MIT
// The texts of one row's cells, kept together in one block of memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "filelist/row_store.h"

namespace rizo {

// A row of a million-row list holds a few short texts and leaves most of its cells empty: a string
// for each cell took about 320 bytes a row before any text, this about 50 and one block of the
// texts themselves, in column order.
class RowTexts {
public:
    std::string_view Text(int column) const {
        return {texts.get() + Start(column), ends[column] - Start(column)};
    }
    // Replaces the text of `column`; `text` may not point into this row's own texts.
    void Set(int column, std::string_view text);

private:
    uint32_t Start(int column) const { return column == 0 ? 0 : ends[column - 1]; }

    std::unique_ptr<char[]> texts;
    // Where each cell's text ends in `texts`; the next one starts there.
    std::array<uint32_t, kColumnCount> ends{};
};

}  // namespace rizo
