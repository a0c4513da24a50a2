// SPDX-License-Identifier: MIT
// Row store behaviour that adding, refreshing and sorting rely on.
#include "filelist/file_table.h"

#include <gtest/gtest.h>

namespace rizo {
namespace {

FileTable TableWithPaths(const std::vector<std::string>& paths) {
    FileTable table;
    for (const auto& path : paths) {
        int row = table.InsertRow(path);
        table.SetCellText(row, kColFullPath, path);
    }
    return table;
}

TEST(FileTable, PathLookupFollowsWritesDeletionsAndSorts) {
    FileTable table = TableWithPaths({"/b", "/a", "/b"});
    EXPECT_EQ(table.FindRowByPath("/b"), 0);
    EXPECT_EQ(table.FindRowByPath("/a"), 1);
    EXPECT_EQ(table.FindRowByPath("/A"), -1);
    EXPECT_EQ(table.FindRowByPath(""), -1);

    table.DeleteRows({0});
    EXPECT_EQ(table.FindRowByPath("/b"), 1);

    table.SortByColumn(kColFullPath, false);
    EXPECT_EQ(table.FindRowByPath("/b"), 0);
    EXPECT_EQ(table.FindRowByPath("/a"), 1);

    table.SetCellText(0, kColFullPath, "/c");
    EXPECT_EQ(table.FindRowByPath("/b"), -1);
    EXPECT_EQ(table.FindRowByPath("/c"), 0);
}

TEST(FileTable, DeletingScatteredRowsKeepsOrderAndSelection) {
    FileTable table = TableWithPaths({"/a", "/b", "/c", "/d", "/e"});
    table.SetSelected(1, true);
    table.SetSelected(4, true);
    table.DeleteRows({0, 1, 3});
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Cell(0, kColFullPath), "/c");
    EXPECT_EQ(table.Cell(1, kColFullPath), "/e");
    EXPECT_EQ(table.SelectedCount(), 1);
    EXPECT_TRUE(table.IsSelected(1));
}

TEST(FileTable, NewRowIsNotFoundUntilItsPathIsWritten) {
    FileTable table;
    int first = table.InsertRow("x");
    EXPECT_EQ(table.FindRowByPath("/d/x"), -1);
    int second = table.InsertRow("x");
    table.SetCellText(second, kColFullPath, "/d/x");
    table.SetCellText(first, kColFullPath, "/d/x");
    EXPECT_EQ(table.FindRowByPath("/d/x"), first);
}

// What moves with the rows is the model's sort test.
TEST(FileTable, SortIsOrdinal) {
    FileTable table;
    for (const char* size : {"999", "1,000", "20", "\xC3\xA9", "B", "a"}) {
        table.SetCellText(table.InsertRow(size), kColSize, size);
    }
    std::vector<int> order = table.SortByColumn(kColSize, true);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 0, 4, 5, 3}));
    std::vector<std::string> sizes;
    for (int row = 0; row < table.RowCount(); ++row) {
        sizes.emplace_back(table.Cell(row, kColSize));
    }
    EXPECT_EQ(sizes, (std::vector<std::string>{"1,000", "20", "999", "B", "a", "\xC3\xA9"}));
}

// Tens of thousands of rows outgrow the heap into huge page mappings, several as the table grows
// and one more for a sort, and the path index is resized many times; every row must survive each
// move and stay found.
TEST(FileTable, LargeTableKeepsItsRowsAsItGrowsAndSorts) {
    constexpr int kRows = 30000;
    FileTable table;
    for (int row = 0; row < kRows; ++row) {
        table.SetCellText(table.InsertRow(std::to_string(row)), kColFullPath,
                          "/" + std::to_string(kRows - row));
    }
    const auto expectRowsFound = [&table] {
        for (int row = 0; row < kRows; ++row) {
            const std::string path(table.Cell(row, kColFullPath));
            ASSERT_EQ(table.FindRowByPath(path), row);
            ASSERT_EQ(table.Cell(row, kColFilename),
                      std::to_string(kRows - std::stoi(path.substr(1))));
        }
    };
    expectRowsFound();
    table.SortByColumn(kColFullPath, true);
    expectRowsFound();
}

}  // namespace
}  // namespace rizo
