// SPDX-License-Identifier: MIT
// The SFV lines rizodidiz-cli writes, and the names it refuses because they would not read back.
#include "cli/digest_lines.h"

#include <gtest/gtest.h>

namespace rizo {
namespace {

TEST(DigestLines, SfvWritesOnlyNamesThatReadBack) {
    FileEntry entry;
    entry.crc32 = "352441c2";
    const std::pair<std::string, bool> cases[] = {
        {"abc", true},
        {"a b;c", true},
        {"#abc", false},
        {";abc", false},
        {"abc ", true},
        {"new\nline", false},
        {"\xEF\xBB\xBF"
         "abc",
         false},
    };
    for (const auto& [name, written] : cases) {
        const std::optional<std::string> line =
            DigestLines(name, {false, false, true, false}, entry, {.layout = LineLayout::kSfv});
        EXPECT_EQ(line, written ? std::optional(name + " 352441c2\n") : std::nullopt) << name;
    }
}

}  // namespace
}  // namespace rizo
