// Saving selected rows: exact bytes, replacing old files, and failures named for the user.
#include "export/save_selection.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "filelist/file_table.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

namespace fs = std::filesystem;

class SaveSelectionTest : public testing::Test {
protected:
    void SetUp() override {
        int row = table.InsertRow("a.txt");
        table.SetCellText(row, kColMd5, "0cc175b9c0f1b6a831c399e269772661");
        table.SetCellText(row, kColSize, "1");
        table.SetCellText(row, kColCreated, "2020-01-02 03:04");
        table.SetSelected(row, true);
    }

    test::TempFolder temp;
    FileTable table;
    ProgramSettings options;
    std::string error;
};

// A new file gets no extension added; an old one is replaced whole and keeps its permissions; no
// temporary file is left beside either.
TEST_F(SaveSelectionTest, WritesTheRecordsUnchangedInANewOrReplacedFile) {
    const std::string expected =
        "a.txt\r\n--------------------------------------------------\r\n"
        "MD5            : 0cc175b9c0f1b6a831c399e269772661\r\n"
        "File Size      : 1 Byte\r\n"
        "Date Created   : 2020-01-02 03:04\r\n"
        "--------------------------------------------------\r\n";
    const std::string old = temp.File("old.txt", std::string(4096, 'x'));
    chmod(old.c_str(), 0640);
    for (const std::string name : {"report", "old.txt"}) {
        ASSERT_TRUE(SaveSelection(table, options, temp.Path() + name, error)) << error;
        EXPECT_EQ(test::ReadText(temp.Path() + name), expected);
    }
    EXPECT_EQ(fs::status(old).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), {}), 2);
}

TEST_F(SaveSelectionTest, NoSelectionCreatesNoFileAndAFailureNamesTheFile) {
    table.SetSelected(0, false);
    EXPECT_TRUE(SaveSelection(table, options, temp.Path() + "none.txt", error));
    EXPECT_FALSE(fs::exists(temp.Path() + "none.txt"));
    table.SetSelected(0, true);
    const std::string absent = temp.Path() + "absent/out.txt";
    EXPECT_FALSE(SaveSelection(table, options, absent, error));
    EXPECT_NE(error.find(absent + "\": No such file or directory"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(SaveSelection(table, options, "", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace rizo
