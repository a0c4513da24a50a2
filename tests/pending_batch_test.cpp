// Building batches: row reuse, duplicates within a batch, sorting, Refresh, drops, row commands.
#include "filelist/pending_batch.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "filelist/file_table.h"
#include "filelist/row_commands.h"

namespace rizo {
namespace {

namespace fs = std::filesystem;

struct Batch {
    std::vector<std::string> paths;
    std::vector<int32_t> rows;
};

// Rows as the worker leaves them: the name and the Full Path cell written.
FileTable HashedTable(const std::vector<std::string>& paths) {
    FileTable table;
    for (const std::string& path : paths) {
        table.SetCellText(FindOrInsertRow(table, path), kColFullPath, path);
    }
    return table;
}

std::vector<std::string> Names(const FileTable& table) {
    std::vector<std::string> names;
    for (int row = 0; row < table.RowCount(); ++row) {
        names.push_back(table.Cell(row, kColFilename));
    }
    return names;
}

TEST(CommitPending, ListedPathReusesItsRowAndCaseMatters) {
    FileTable table = HashedTable({"/x/a.txt", "/x/b.txt"});
    Batch batch{{"/x/b.txt", "/x/A.txt", "/x/a.txt"}, {}};
    CommitPending(table, batch.paths, batch.rows, false);
    EXPECT_EQ(batch.rows, (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a.txt", "b.txt", "A.txt"}));
}

TEST(CommitPending, SamePathTwiceInOneBatchGivesTwoRows) {
    FileTable table;
    Batch batch{{"/x/a.txt", "/x/a.txt"}, {}};
    CommitPending(table, batch.paths, batch.rows, false);
    EXPECT_EQ(batch.rows, (std::vector<int32_t>{0, 1}));
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
        FileTable table = HashedTable({"/x/zz"});
        Batch batch{c.batch, {}};
        CommitPending(table, batch.paths, batch.rows, c.autoSort);
        EXPECT_EQ(batch.paths, c.expected);
        EXPECT_EQ(batch.rows, (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(table.Cell(0, kColFilename), "zz");
        EXPECT_EQ(table.Cell(1, kColFilename), c.expected[0].substr(c.expected[0].rfind('/') + 1));
    }
}

TEST(QueueAllRows, QueuesEveryRowUnderItsShownPath) {
    FileTable table = HashedTable({"/x/a.txt"});
    table.InsertRow("never-hashed");
    Batch batch{{"stale"}, {7}};
    ASSERT_TRUE(QueueAllRows(table, batch.paths, batch.rows));
    EXPECT_EQ(batch.paths, (std::vector<std::string>{"/x/a.txt", ""}));
    EXPECT_EQ(batch.rows, (std::vector<int32_t>{0, 1}));

    FileTable empty;
    EXPECT_FALSE(QueueAllRows(empty, batch.paths, batch.rows));
}

TEST(CollectDroppedItems, FoldersAreScannedFilesTakenAndUnknownNamesSkipped) {
    const std::string root =
        (fs::temp_directory_path() / ("rizo_drop_" + std::to_string(getpid()))).string();
    fs::create_directories(root + "/d");
    std::ofstream(root + "/d/f") << "x";
    Batch batch;
    CollectDroppedItems({root + "/d", root + "/missing", root + "/d/f"}, batch.paths);
    fs::remove_all(root);
    EXPECT_EQ(batch.paths, (std::vector<std::string>{root + "/d/f", root + "/d/f"}));
    FileTable table;
    CommitPending(table, batch.paths, batch.rows, false);
    EXPECT_EQ(table.RowCount(), 2);
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
        {{0, 2}, true, {"b"}},
    };
    for (const Case& c : cases) {
        FileTable table = HashedTable({"/a", "/b", "/c"});
        for (int row : c.selected) {
            table.SetSelected(row, true);
        }
        EXPECT_EQ(RemoveSelected(table), c.changed);
        EXPECT_EQ(Names(table), c.left);
        EXPECT_EQ(table.SelectedCount(), 0);
    }
}

TEST(RowCommands, SelectAllAndNoneChangeOnlyTheSelection) {
    FileTable table = HashedTable({"/a", "/b", "/c"});
    table.SetSelected(1, true);
    EXPECT_TRUE(SelectAll(table));
    EXPECT_EQ(table.SelectedCount(), 3);
    EXPECT_FALSE(SelectAll(table));
    EXPECT_TRUE(SelectNone(table));
    EXPECT_EQ(table.SelectedCount(), 0);
    EXPECT_FALSE(SelectNone(table));
    ClearAll(table);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_FALSE(SelectAll(table));
}

}  // namespace
}  // namespace rizo
