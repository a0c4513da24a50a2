// SPDX-License-Identifier: MIT
// A verification with an audit of its folder, as the window runs it, without the window: the
// listed files' rows, the new files' rows, and the moves settled once the batch has ended.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/temp_folder.h"
#include "verify/verification.h"

namespace {

using rizo::FileEntry;

std::string Hex(char digit) {
    return std::string(32, digit);
}

FileEntry Read(const std::string& path, const std::string& md5) {
    FileEntry entry;
    entry.path = path;
    entry.outcome = rizo::FileOutcome::kRead;
    entry.md5 = md5;
    return entry;
}

FileEntry Gone(const std::string& path) {
    FileEntry entry;
    entry.path = path;
    entry.errorNumber = ENOENT;
    return entry;
}

// A list of four files (MD5SUMS: its name says which digest its lines hold) of which one is there,
// one moved into a subfolder, one was renamed and changed, one is gone; the list itself is not new,
// nor are the files another list names.
TEST(VerificationAuditTest, NewFilesAreJudgedAndMovesSettledAtTheEnd) {
    rizo::test::TempFolder temp;
    const std::string folder = temp.Path();
    std::filesystem::create_directory(folder + "sub");
    const std::string list =
        temp.File("MD5SUMS", Hex('a') + "  a\n" + Hex('b') + "  ./gone\n" + Hex('c') +
                                 "  changed\n" + Hex('d') + "  old\n");
    for (const char* name : {"a", "sub/there", "renamed"}) {
        temp.File(name, "");
    }
    rizo::Verification run({list});
    run.Read(std::atomic<bool>(false));
    EXPECT_EQ(run.AuditFolder(), folder);
    std::vector<std::string> paths;
    run.AppendPaths(paths);
    ASSERT_EQ(paths.size(), 4u);
    run.Audit({folder + "a", folder + "sub/there", folder + "renamed", list}, paths);
    ASSERT_EQ(paths.size(), 6u);
    EXPECT_EQ(paths[4], folder + "renamed");
    EXPECT_EQ(paths[5], folder + "sub/there");
    run.IndexPaths(paths);
    run.Bind({10, 11, 12, 13, 14, 15});
    const std::map<int32_t, FileEntry> results = {
        {10, Read(folder + "a", Hex('a'))}, {11, Gone(folder + "gone")},
        {12, Gone(folder + "changed")},     {13, Gone(folder + "old")},
        {14, Read(paths[4], Hex('e'))},     {15, Read(paths[5], Hex('b'))}};
    std::map<int32_t, std::string> verdicts;
    for (const auto& [row, entry] : results) {
        verdicts[row] = run.Judge(row, entry).value_or("none");
    }
    EXPECT_EQ(run.Judge(16, Read(folder + "other", Hex('a'))), std::nullopt);
    for (const auto& [row, verdict] : run.Settle()) {
        verdicts[row] = verdict;
    }
    const std::map<int32_t, std::string> expected = {{10, "OK"},      {11, "MOVED to sub/there"},
                                                     {12, "MISSING"}, {13, "MISSING"},
                                                     {14, "NEW"},     {15, "MOVED from gone"}};
    EXPECT_EQ(verdicts, expected);
    const rizo::Verification::Tally tally = run.Counts();
    EXPECT_EQ(tally.missing, 2u);
    EXPECT_EQ(tally.added, 1u);
    EXPECT_EQ(tally.moved, 1u);
    EXPECT_EQ(run.Summary(), "2 MISSING, 1 OK, 1 NEW, 1 MOVED");
}

// Without an audit nothing changes at the end, and a row no list names has no verdict.
TEST(VerificationAuditTest, APlainVerificationSettlesNothing) {
    rizo::test::TempFolder temp;
    const std::string list = temp.File("MD5SUMS", Hex('a') + "  a\n");
    rizo::Verification run({list});
    run.Read(std::atomic<bool>(false));
    std::vector<std::string> paths;
    run.AppendPaths(paths);
    paths.push_back(temp.Path() + "other");
    run.IndexPaths(paths);
    run.Bind({0, 1});
    EXPECT_EQ(run.Judge(0, Read(paths[0], Hex('a'))), "OK");
    EXPECT_EQ(run.Judge(1, Read(paths[1], Hex('a'))), std::nullopt);
    EXPECT_TRUE(run.Settle().empty());
    EXPECT_EQ(run.Summary(), "1 file OK");
}

}  // namespace
