// SPDX-License-Identifier: MIT
// Duplicate grouping: group numbers, palette and key column.
#include "filelist/duplicate_groups.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "filelist/row_store.h"

namespace rizo {
namespace {

// The plain pairwise rule: each row with a non-empty key claims every later ungrouped equal row,
// and takes the group number itself when it claimed one.
std::vector<int> PairwiseGroups(const std::vector<std::string>& keys) {
    std::vector<int> groups(keys.size(), 0);
    int next = 1;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].empty()) {
            continue;
        }
        bool found = false;
        for (size_t j = i + 1; j < keys.size(); ++j) {
            if (!keys[j].empty() && keys[j] == keys[i] && groups[j] == 0) {
                groups[j] = next;
                found = true;
            }
        }
        if (found) {
            groups[i] = next++;
        }
    }
    return groups;
}

std::vector<int> Groups(const std::vector<std::string>& keys) {
    return DuplicateGroups(std::vector<std::string_view>(keys.begin(), keys.end()));
}

TEST(DuplicateGroups, NumbersGroupsInOrderOfTheirFirstRow) {
    struct Case {
        std::vector<std::string> keys;
        std::vector<int> groups;
    };
    const Case cases[] = {
        {{"x", "y", "x", "z", "y"}, {1, 2, 1, 0, 2}},
        {{"", "", "a", ""}, {0, 0, 0, 0}},
        {{"a", "", "a", "b", "", "b"}, {1, 0, 1, 2, 0, 2}},
        {{"ab", "AB", "ab"}, {1, 0, 1}},
        {{"a", std::string("a\0", 2)}, {0, 0}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Groups(c.keys), c.groups);
    }
}

TEST(DuplicateGroups, AgreesWithPairwiseRuleOnRandomLists) {
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        size_t rows = random() % 60;
        int alphabet = 1 + static_cast<int>(random() % 20);
        std::vector<std::string> keys;
        for (size_t row = 0; row < rows; ++row) {
            int value = static_cast<int>(random() % static_cast<unsigned>(alphabet + 1));
            keys.push_back(value == 0 ? std::string() : std::string(1, static_cast<char>(value)));
        }
        EXPECT_EQ(Groups(keys), PairwiseGroups(keys)) << "round " << round;
    }
}

TEST(DuplicateGroups, NinetyOneGroupsAreAllNumbered) {
    std::vector<std::string> keys;
    for (int pass = 0; pass < 2; ++pass) {
        for (int key = 0; key < 91; ++key) {
            keys.push_back("k" + std::to_string(key));
        }
    }
    EXPECT_EQ(Groups(keys), PairwiseGroups(keys));
}

TEST(DuplicateGroups, FirstEnabledDigestDecides) {
    struct Case {
        HashSelection digests;
        int column;
    };
    const Case cases[] = {
        {{true, true, true, true}, kColMd5},     {{false, true, true, true}, kColSha1},
        {{false, false, true, true}, kColCrc32}, {{false, false, false, true}, kColSha256},
        {{false, false, false, false}, -1},      {{true, false, false, true}, kColMd5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DuplicateKeyColumn(c.digests), c.column);
    }
}

}  // namespace
}  // namespace rizo
