// Folder scan on a real tree: hidden and odd entries, links, loops, limits.
#include "filelist/folder_scan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace rizo {
namespace {

namespace fs = std::filesystem;

class FolderScanTest : public testing::Test {
protected:
    void SetUp() override {
        root = (fs::temp_directory_path() / ("rizo_scan_" + std::to_string(getpid()))).string();
        fs::create_directories(root + "/sub/deeper");
        fs::create_directories(root + "/empty");
        for (const char* name :
             {"/b.txt", "/.hidden", "/sub/c.txt", "/sub/deeper/d.txt", "/\xff\xfe-not-utf8.bin"}) {
            std::ofstream(root + name) << "x";
        }
    }
    void TearDown() override { fs::remove_all(root); }

    std::vector<std::string> Scan(const std::string& folder) const {
        std::vector<std::string> paths;
        ScanFolder(folder, paths);
        return paths;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> paths) {
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    std::string root;
};

TEST_F(FolderScanTest, TakesEveryFileRecursivelyHiddenAndNonUtf8Included) {
    EXPECT_EQ(Sorted(Scan(root)),
              Sorted({root + "/b.txt", root + "/.hidden", root + "/sub/c.txt",
                      root + "/sub/deeper/d.txt", root + "/\xff\xfe-not-utf8.bin"}));
}

TEST_F(FolderScanTest, SubfolderIsScannedBeforeTheNextEntry) {
    fs::remove_all(root + "/empty");
    std::vector<std::string> paths = Scan(root + "/sub");
    ASSERT_EQ(paths.size(), 2u);
    // Depth first: the subfolder's file sits right where the subfolder was listed.
    const bool deeperFirst = paths[0] == root + "/sub/deeper/d.txt";
    EXPECT_EQ(paths[deeperFirst ? 1 : 0], root + "/sub/c.txt");
}

TEST_F(FolderScanTest, TrailingSlashAndRelativeFolderGiveCleanAbsolutePaths) {
    EXPECT_EQ(Scan(root + "/sub/deeper/"), std::vector<std::string>{root + "/sub/deeper/d.txt"});
    const fs::path before = fs::current_path();
    fs::current_path(root);
    std::vector<std::string> relative = Scan("./sub/../sub/deeper");
    fs::current_path(before);
    EXPECT_EQ(relative, std::vector<std::string>{root + "/sub/deeper/d.txt"});
}

TEST_F(FolderScanTest, EmptyMissingAndOverlongFoldersAddNothing) {
    EXPECT_TRUE(Scan(root + "/empty").empty());
    EXPECT_TRUE(Scan(root + "/absent").empty());
    EXPECT_TRUE(Scan("").empty());
    EXPECT_TRUE(Scan(root + "/" + std::string(PATH_MAX, 'a')).empty());
}

TEST_F(FolderScanTest, LinkLoopsEndAndOtherFolderLinksAreEntered) {
    fs::create_directory_symlink(root, root + "/sub/up");
    fs::create_directory_symlink("..", root + "/sub/deeper/parent");
    fs::create_directory_symlink(root + "/sub/deeper", root + "/side");
    fs::create_symlink(root + "/b.txt", root + "/file-link");
    fs::create_symlink(root + "/nowhere", root + "/dangling");
    std::vector<std::string> paths = Sorted(Scan(root));
    EXPECT_EQ(paths, Sorted({root + "/b.txt", root + "/.hidden", root + "/sub/c.txt",
                             root + "/sub/deeper/d.txt", root + "/\xff\xfe-not-utf8.bin",
                             root + "/side/d.txt", root + "/side/parent/c.txt", root + "/file-link",
                             root + "/dangling"}));
}

TEST_F(FolderScanTest, SpecialFilesAreListedLikeFiles) {
    ASSERT_EQ(mkfifo((root + "/empty/pipe").c_str(), 0600), 0);
    EXPECT_EQ(Scan(root + "/empty"), std::vector<std::string>{root + "/empty/pipe"});
}

}  // namespace
}  // namespace rizo
