// SPDX-License-Identifier: MIT
// Saving selected rows: nothing without a selection, and failures named for the user.
#include "export/save_selection.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "filelist/file_table.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

// The text written is the export's and the writing is the file replacement's, each with tests of
// its own; the window's Save case checks the file against the copied text.
TEST(SaveSelection, NoSelectionCreatesNoFileAndAFailureNamesTheFile) {
    test::TempFolder temp;
    FileTable table;
    const ProgramSettings options;
    std::string error;
    const int row = table.InsertRow("a.txt");
    EXPECT_TRUE(SaveSelection(table, options, temp.Path() + "none.txt", error));
    EXPECT_FALSE(std::filesystem::exists(temp.Path() + "none.txt"));
    table.SetSelected(row, true);
    const std::string absent = temp.Path() + "absent/out.txt";
    EXPECT_FALSE(SaveSelection(table, options, absent, error));
    EXPECT_NE(error.find(absent + "\": No such file or directory"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(SaveSelection(table, options, "", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace rizo
