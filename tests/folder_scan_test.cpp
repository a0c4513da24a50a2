// SPDX-License-Identifier: MIT
// Folder scan on a real tree: hidden and odd entries, links, loops and fan-outs, failures.
#include "filelist/folder_scan.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "tests/temp_folder.h"

namespace rizo {
namespace {

namespace fs = std::filesystem;

class FolderScanTest : public testing::Test {
protected:
    void SetUp() override {
        // Open to the unprivileged user that scans a refused folder.
        chmod(root.c_str(), 0755);
        fs::create_directories(root + "/sub/deeper");
        fs::create_directories(root + "/empty");
        for (const char* name :
             {"/b.txt", "/.hidden", "/sub/c.txt", "/sub/deeper/d.txt", "/\xff\xfe-not-utf8.bin"}) {
            test::WriteText(root + name, "x");
        }
    }

    std::vector<std::string> Scan(const std::string& folder) const {
        std::vector<std::string> paths;
        EXPECT_TRUE(ScanFolder(folder, paths).empty()) << folder;
        return paths;
    }

    test::TempFolder temp;
    const std::string root = temp.Path().substr(0, temp.Path().size() - 1);
};

// Files and folders made in turn, so that however the platform lists them, a folder comes between
// files and depth-first order differs from listing a folder's files before its subfolders.
TEST_F(FolderScanTest, SubfoldersAreScannedWhereTheyAreListed) {
    const std::string tree = root + "/tree";
    fs::create_directory(tree);
    for (const std::string level : {"", "/d1", "/d1/d2"}) {
        for (const char* name : {"/f1", "/d1", "/f2", "/d2", "/f3", "/d3", "/f4"}) {
            const std::string path = tree + level + name;
            name[1] == 'd' ? fs::create_directories(path) : (test::WriteText(path, "x"), true);
        }
    }
    std::vector<std::string> depthFirst;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree)) {
        if (!entry.is_directory()) {
            depthFirst.push_back(entry.path().string());
        }
    }
    ASSERT_EQ(depthFirst.size(), 12u);
    ASSERT_NE(fs::path(depthFirst[3]).parent_path(), tree) << "a folder must come between files";
    EXPECT_EQ(Scan(tree), depthFirst);
}

TEST_F(FolderScanTest, FilesAreNamedBelowTheFolderAsGiven) {
    EXPECT_EQ(Scan(root + "/sub/deeper/"), std::vector<std::string>{root + "/sub/deeper/d.txt"});
    const fs::path before = fs::current_path();
    fs::current_path(root);
    std::vector<std::string> relative = Scan("sub/deeper");
    fs::current_path(before);
    EXPECT_EQ(relative, std::vector<std::string>{"sub/deeper/d.txt"});
}

// Root reads every folder, so the refused folder is scanned by an unprivileged child.
TEST_F(FolderScanTest, FoldersThatCannotBeListedAreReportedWithTheirReason) {
    fs::create_directory(root + "/sub/locked");
    fs::permissions(root + "/sub/locked", fs::perms::none);
    const std::string tooLong = root + "/" + std::string(PATH_MAX, 'a');
    struct Case {
        std::string folder;
        std::vector<std::string> failedFolders;
        int errorNumber;
        bool asNobody;
    };
    const Case cases[] = {
        {root + "/empty", {}, 0, false},
        {root + "/absent", {root + "/absent"}, ENOENT, false},
        {tooLong, {tooLong}, ENAMETOOLONG, false},
        {root, {root + "/sub/locked"}, EACCES, true},
    };
    for (const Case& c : cases) {
        const int status = test::RunInChild(
            [&c] {
                std::vector<std::string> paths;
                std::vector<std::string> folders;
                for (const ScanFailure& failure : ScanFolder(c.folder, paths)) {
                    folders.push_back(failure.path);
                    if (failure.errorNumber != c.errorNumber) {
                        return 2;
                    }
                }
                return folders == c.failedFolders ? 0 : 1;
            },
            10, c.asNobody);
        EXPECT_EQ(status, 0) << c.folder.substr(0, 80);
    }
}

// Fifteen folders with two links each to the next would list the one file at the end 32,768
// times if folders were told apart by their paths.
TEST_F(FolderScanTest, EveryRealFolderIsEnteredOnceWhicheverLinksLeadToIt) {
    fs::create_directory_symlink(root, root + "/sub/up");
    fs::create_directory_symlink("..", root + "/sub/deeper/parent");
    fs::create_symlink(root + "/b.txt", root + "/file-link");
    fs::create_symlink(root + "/nowhere", root + "/dangling");
    const std::string fan = root + "/empty/f";
    fs::create_directory(fan + "0");
    for (int level = 1; level <= 15; ++level) {
        fs::create_directory(fan + std::to_string(level));
        for (const char* link : {"/a", "/b"}) {
            fs::create_directory_symlink(fan + std::to_string(level),
                                         fan + std::to_string(level - 1) + link);
        }
    }
    test::WriteText(fan + "15/end", "x");

    std::map<std::string, int> seen;
    for (const std::string& path : Scan(root)) {
        ++seen[fs::weakly_canonical(path).native()];
    }
    EXPECT_EQ(seen, (std::map<std::string, int>{{root + "/b.txt", 2},
                                                {root + "/.hidden", 1},
                                                {root + "/sub/c.txt", 1},
                                                {root + "/sub/deeper/d.txt", 1},
                                                {root + "/\xff\xfe-not-utf8.bin", 1},
                                                {root + "/dangling", 1},
                                                {fan + "15/end", 1}}));
}

// A FIFO is listed like a file and fails where it is read; devices, found as nodes (made where
// this runs as root) or through links, are never taken, and /dev and the file systems mounted
// below it are never entered, whether named or reached through a link.
TEST_F(FolderScanTest, FifosAreListedAndDevicesAndDevAreNot) {
    const std::string folder = root + "/empty";
    ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0600), 0);
    mknod((folder + "/disk").c_str(), S_IFBLK | 0600, makedev(7, 200));
    mknod((folder + "/null").c_str(), S_IFCHR | 0600, makedev(1, 3));
    fs::create_directory_symlink("/dev", folder + "/dev");
    fs::create_symlink("/dev/null", folder + "/null-link");
    EXPECT_EQ(Scan(folder), std::vector<std::string>{folder + "/pipe"});
    EXPECT_EQ(Scan("/dev"), std::vector<std::string>{});
    // A file system of its own below /dev holds ordinary files: still /dev.
    const std::string shared = "/dev/shm/rizo-scan-" + std::to_string(getpid());
    if (fs::is_directory("/dev/shm")) {
        fs::create_directory_symlink("/dev/shm", folder + "/shm");
        test::WriteText(shared, "x");
        EXPECT_EQ(Scan("/dev/shm"), std::vector<std::string>{});
        EXPECT_EQ(Scan(folder), std::vector<std::string>{folder + "/pipe"});
        fs::remove(shared);
    }
}

}  // namespace
}  // namespace rizo
