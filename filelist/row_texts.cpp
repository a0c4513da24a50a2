// SPDX-License-Identifier: MIT
// The texts of one row's cells and of its note, kept together in one block of memory.
#include "filelist/row_texts.h"

#include <algorithm>

namespace rizo {

void RowTexts::Set(int index, std::string_view text) {
    const uint32_t start = Start(index);
    const uint32_t oldEnd = ends[index];
    const uint32_t total = ends[kCount - 1];
    const auto length = static_cast<uint32_t>(text.size());
    const uint32_t newTotal = total - (oldEnd - start) + length;
    if (newTotal == total) {
        // The same length: the block is rewritten where it stands.
        std::copy(text.begin(), text.end(), texts.get() + start);
        return;
    }
    std::unique_ptr<char[]> block =
        newTotal == 0 ? nullptr : std::make_unique_for_overwrite<char[]>(newTotal);
    std::copy(texts.get(), texts.get() + start, block.get());
    std::copy(text.begin(), text.end(), block.get() + start);
    std::copy(texts.get() + oldEnd, texts.get() + total, block.get() + start + length);
    texts = std::move(block);
    for (int later = index; later < kCount; ++later) {
        ends[later] = ends[later] - oldEnd + start + length;
    }
}

}  // namespace rizo
