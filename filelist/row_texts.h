// SPDX-License-Identifier: MIT
// The texts of one row's cells and of its note, kept together in one block of memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "filelist/row_store.h"

namespace rizo {

// A row of a million-row list holds a few short texts and leaves most of its cells and its note
// empty: a string for each took about 350 bytes a row before any text, this about 50 and one block
// of the texts themselves, in the order of their indexes.
class RowTexts {
public:
    // The cells' texts have their columns' indexes; the note's comes after them.
    static constexpr int kNote = kColumnCount;
    static constexpr int kCount = kColumnCount + 1;

    std::string_view Text(int index) const {
        return {texts.get() + Start(index), ends[index] - Start(index)};
    }
    // Replaces text `index`; `text` may not point into this row's own texts.
    void Set(int index, std::string_view text);

private:
    uint32_t Start(int index) const { return index == 0 ? 0 : ends[index - 1]; }

    std::unique_ptr<char[]> texts;
    // Where each text ends in `texts`; the next one starts there.
    std::array<uint32_t, kCount> ends{};
};

}  // namespace rizo
