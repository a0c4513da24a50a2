// Saving selected rows: exact bytes, replacing old files, and failures named for the user.
#include "export/save_selection.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "filelist/file_table.h"

namespace rizo {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SaveSelectionTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("rizo_save_" + std::to_string(getpid()) + "_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        int row = table.InsertRow("a.txt");
        table.SetCellText(row, kColMd5, "0cc175b9c0f1b6a831c399e269772661");
        table.SetCellText(row, kColSize, "1");
        table.SetCellText(row, kColCreated, "2020-01-02 03:04");
        table.SetSelected(row, true);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The files in the folder, to see that no temporary file is left behind.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    const std::string expected =
        "a.txt\r\n--------------------------------------------------\r\n"
        "MD5            : 0cc175b9c0f1b6a831c399e269772661\r\n"
        "File Size      : 1 Byte\r\n"
        "Date Created   : 2020-01-02 03:04\r\n"
        "--------------------------------------------------\r\n";
    fs::path folder;
    FileTable table;
    ProgramSettings options;
    std::string error;
};

TEST_F(SaveSelectionTest, WritesTheRecordsUnchangedWithoutAddingAnExtension) {
    const fs::path target = folder / "report";
    ASSERT_TRUE(SaveSelection(table, options, target.string(), error)) << error;
    EXPECT_EQ(ReadFile(target), expected);
    EXPECT_EQ(Listing(), std::vector<std::string>{"report"});
}

TEST_F(SaveSelectionTest, ReplacesAnExistingFileWholeAndKeepsItsPermissions) {
    const fs::path target = folder / "old.txt";
    WriteFile(target, std::string(4096, 'x'));
    chmod(target.c_str(), 0640);
    ASSERT_TRUE(SaveSelection(table, options, target.string(), error)) << error;
    EXPECT_EQ(ReadFile(target), expected);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(Listing(), std::vector<std::string>{"old.txt"});
}

TEST_F(SaveSelectionTest, NoSelectionCreatesNoFile) {
    table.SetSelected(0, false);
    const fs::path target = folder / "none.txt";
    EXPECT_TRUE(SaveSelection(table, options, target.string(), error));
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(SaveSelectionTest, MissingFolderFailsNamingTheFile) {
    const std::string target = (folder / "absent" / "out.txt").string();
    EXPECT_FALSE(SaveSelection(table, options, target, error));
    EXPECT_NE(error.find(target), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

TEST_F(SaveSelectionTest, EmptyNameFails) {
    EXPECT_FALSE(SaveSelection(table, options, "", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace rizo
