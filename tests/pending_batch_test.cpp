// SPDX-License-Identifier: MIT
// Building batches: row reuse, duplicates within a batch, sorting, Refresh, row commands.
#include "filelist/pending_batch.h"

#include <gtest/gtest.h>

#include "filelist/file_table.h"
#include "filelist/row_commands.h"

namespace rizo {
namespace {

struct Batch {
    std::vector<std::string> paths;
    std::vector<int32_t> rows;
};

FileTable Listed(std::vector<std::string> paths) {
    FileTable table;
    std::vector<int32_t> rows;
    CommitPending(table, paths, rows, false);
    return table;
}

std::vector<std::string> Names(const FileTable& table) {
    std::vector<std::string> names;
    for (int row = 0; row < table.RowCount(); ++row) {
        names.emplace_back(table.Cell(row, kColFilename));
    }
    return names;
}

// A row shows its path from the moment it is made, so a path listed earlier, or earlier in the
// same batch, finds its row, and Refresh queues rows that no batch has reached yet.
TEST(CommitPending, EveryPathHasOneRowShowingItFromTheStart) {
    FileTable table;
    Batch first{{"/x/a.txt", "/x/b.txt", "/x/a.txt"}, {}};
    CommitPending(table, first.paths, first.rows, false);
    EXPECT_EQ(first.rows, (std::vector<int32_t>{0, 1, 0}));
    Batch second{{"/x/b.txt", "/x/A.txt", "/x/a.txt"}, {}};
    CommitPending(table, second.paths, second.rows, false);
    EXPECT_EQ(second.rows, (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a.txt", "b.txt", "A.txt"}));

    // A commit in slices stops when its time is up, and is taken back whole.
    Batch many;
    for (int i = 0; i < 1000; ++i) {
        many.paths.push_back("/y/" + std::to_string(i));
    }
    many.paths.push_back("/x/b.txt");
    PendingCommit slices(table, many.paths, many.rows);
    EXPECT_FALSE(slices.CommitUntil(PendingCommit::Clock::time_point::min()));
    while (!slices.CommitUntil(PendingCommit::Clock::time_point::min())) {
    }
    EXPECT_EQ(many.rows.size(), 1001u);
    EXPECT_EQ(many.rows.back(), 1);
    slices.Undo();
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a.txt", "b.txt", "A.txt"}));

    Batch refresh{{"stale"}, {7}};
    ASSERT_TRUE(QueueAllRows(table, refresh.paths, refresh.rows));
    EXPECT_EQ(refresh.paths, (std::vector<std::string>{"/x/a.txt", "/x/b.txt", "/x/A.txt"}));
    EXPECT_EQ(refresh.rows, (std::vector<int32_t>{0, 1, 2}));
    FileTable empty;
    EXPECT_FALSE(QueueAllRows(empty, refresh.paths, refresh.rows));
}

TEST(CommitPending, AutoSortOrdersTheBatchByFullPathBytesOnly) {
    struct Case {
        std::vector<std::string> batch;
        bool autoSort;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"/x/b.txt", "/x/a/z.txt"}, true, {"/x/a/z.txt", "/x/b.txt"}},
        {{"/x/b.txt", "/x/A.txt"}, true, {"/x/A.txt", "/x/b.txt"}},
        {{"/x/\xc3\xa9", "/x/z"}, true, {"/x/z", "/x/\xc3\xa9"}},
        {{"/x/b.txt", "/x/A.txt"}, false, {"/x/b.txt", "/x/A.txt"}},
    };
    for (const Case& c : cases) {
        FileTable table;
        FindOrInsertRow(table, "/x/zz");
        Batch batch{c.batch, {}};
        CommitPending(table, batch.paths, batch.rows, c.autoSort);
        EXPECT_EQ(batch.paths, c.expected);
        EXPECT_EQ(batch.rows, (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(table.Cell(0, kColFilename), "zz");
        EXPECT_EQ(table.Cell(1, kColFilename), c.expected[0].substr(c.expected[0].rfind('/') + 1));
    }
}

TEST(RowCommands, RemoveSelectedDeletesExactlyTheSelectedRows) {
    struct Case {
        std::vector<int> selected;
        bool changed;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{}, false, {"a", "b", "c"}},
        {{0, 1, 2}, true, {}},
    };
    for (const Case& c : cases) {
        FileTable table = Listed({"/a", "/b", "/c"});
        for (int row : c.selected) {
            table.SetSelected(row, true);
        }
        EXPECT_EQ(RemoveSelected(table), c.changed);
        EXPECT_EQ(Names(table), c.left);
        EXPECT_EQ(table.SelectedCount(), 0);
    }
}

TEST(RowCommands, SelectAllNoneAndFailedChangeOnlyTheSelection) {
    FileTable table = Listed({"/a", "/b", "/c", "/d"});
    table.SetSelected(1, true);
    EXPECT_TRUE(SelectAll(table));
    EXPECT_EQ(table.SelectedCount(), 4);
    EXPECT_FALSE(SelectAll(table));
    EXPECT_TRUE(SelectNone(table));
    EXPECT_EQ(table.SelectedCount(), 0);
    EXPECT_FALSE(SelectNone(table));
    // Only failures count: a remark or an absent file's note does not.
    table.SetRowNote(0, "No such file or directory", RowNote::kFailure);
    table.SetRowNote(1, "not reached: hashing was stopped", RowNote::kRemark);
    table.SetRowNote(2, "not a regular file", RowNote::kFailure);
    table.SetRowNote(3, "No such file or directory", RowNote::kAbsent);
    EXPECT_EQ(table.FailedCount(), 2);
    table.SetSelected(1, true);
    EXPECT_TRUE(SelectFailed(table));
    EXPECT_EQ(table.SelectedCount(), 2);
    EXPECT_FALSE(table.IsSelected(1));
    EXPECT_FALSE(table.IsSelected(3));
    EXPECT_TRUE(RemoveSelected(table));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(table.FailedCount(), 0);
    EXPECT_FALSE(SelectFailed(table));
    // A note changed to a failure counts, and one changed back does not.
    table.SetRowNote(0, "FAILED (MD5)", RowNote::kFailure);
    EXPECT_TRUE(SelectFailed(table));
    EXPECT_EQ(table.RowFailure(0), "FAILED (MD5)");
    table.SetRowNote(0, "FAILED (MD5)", RowNote::kRemark);
    EXPECT_EQ(table.RowFailure(0), "");
    EXPECT_FALSE(SelectFailed(table));
    ClearAll(table);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_FALSE(SelectAll(table));
}

}  // namespace
}  // namespace rizo
