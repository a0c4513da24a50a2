// SPDX-License-Identifier: MIT
// Replacing a file's contents: links, mode, owner and hard links kept; failures keep the old file.
#include "settings/file_replace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "tests/temp_folder.h"

namespace rizo {
namespace {

using test::ReadText;
using test::TempFolder;
namespace fs = std::filesystem;

const std::string kOld = "[FrameWnd]\nCx=1000\n";
const std::string kNew = "[FrameWnd]\nCx=1200\nCy=700\n";

// Names in the folder that look like our temporary files.
int Leftovers(const std::string& folder) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        count += entry.path().extension() == ".tmp" ? 1 : 0;
    }
    return count;
}

struct stat Stat(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info;
}

// Each case starts from cfg.ini (mode 0644) in a folder; `setUp` may change it first.
struct Setting {
    const char* name;
    const char* path;  // the file to write
    mode_t fileMode = 0644, folderMode = 0755;
    std::function<void(const std::string&)> setUp = nullptr;
};

std::string Prepare(const TempFolder& temp, const Setting& c) {
    chmod(temp.File("cfg.ini", kOld).c_str(), c.fileMode);
    if (c.setUp) {
        c.setUp(temp.Path());
    }
    chmod(temp.Path().c_str(), c.folderMode);
    return temp.Path() + c.path;
}

TEST(ReplaceFileContents, KeepsLinksModeAndHardLinksAndWritesInPlaceWhereNoFileCanBeMade) {
    struct Case {
        Setting setting;
        const char* result;  // the file that holds the new text and keeps its mode
        fs::perms mode;
        bool inPlace;  // only a rename gives a new inode
    };
    const Case cases[] = {
        {{"new file", "cfg.ini"}, "cfg.ini", fs::perms(0644), false},
        {{"mode kept", "cfg.ini", 0640}, "cfg.ini", fs::perms(0640), false},
        {{"link to a file", "cfg.ini", 0600, 0755,
          [](const std::string& f) {
              fs::rename(f + "cfg.ini", f + "real.ini");
              fs::create_symlink("real.ini", f + "cfg.ini");
          }},
         "real.ini",
         fs::perms(0600),
         false},
        {{"dangling link through a chain of links", "cfg.ini", 0644, 0755,
          [](const std::string& f) {
              fs::remove(f + "cfg.ini");
              fs::create_directory(f + "dots");
              fs::create_symlink("dots/link", f + "cfg.ini");
              fs::create_symlink(f + "dots/cfg.ini", f + "dots/link");
          }},
         "dots/cfg.ini",
         fs::perms(0644),
         false},
        {{"hard link", "other.ini", 0644, 0755,
          [](const std::string& f) { fs::create_hard_link(f + "cfg.ini", f + "other.ini"); }},
         "cfg.ini",
         fs::perms(0644),
         true},
        {{"read-only folder", "cfg.ini", 0644, 0555}, "cfg.ini", fs::perms(0644), true},
    };
    umask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting.name);
        TempFolder temp;
        const std::string path = Prepare(temp, c.setting);
        const bool link = fs::is_symlink(path);
        const ino_t inode = Stat(temp.Path() + c.result).st_ino;
        int error = 0;
        EXPECT_TRUE(ReplaceFileContents(path, kNew, &error)) << strerror(error);
        chmod(temp.Path().c_str(), 0755);
        EXPECT_EQ(ReadText(temp.Path() + c.result), kNew);
        EXPECT_EQ(ReadText(path), kNew);
        EXPECT_EQ(fs::status(temp.Path() + c.result).permissions(), c.mode);
        EXPECT_EQ(fs::is_symlink(path), link);
        EXPECT_EQ(Leftovers(temp.Path()), 0);
        if (c.inPlace) {
            EXPECT_EQ(Stat(temp.Path() + c.result).st_ino, inode);
        }
    }
}

TEST(ReplaceFileContents, FailureLeavesTheOldFileWholeAndNoTemporaryFile) {
    // "sub" is a folder and "pipe" a FIFO that nobody reads; a full disk lets the file grow to
    // 64 bytes only (SIGXFSZ ignored, so calls report it).
    const std::pair<Setting, bool> cases[] = {
        {{"read-only file", "cfg.ini", 0444}, false},
        {{"new file in a read-only folder", "new.ini", 0644, 0555}, false},
        {{"disk full", "cfg.ini"}, true},
        {{"disk full writing in place", "cfg.ini", 0644, 0555}, true},
        {{"folder under a regular file", "cfg.ini/x"}, false},
        {{"path is a folder", "sub"}, false},
        {{"FIFO that nobody reads", "pipe"}, false},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& [setting, diskFull] : cases) {
        SCOPED_TRACE(setting.name);
        TempFolder temp;
        fs::create_directory(temp.Path() + "sub");
        mkfifo((temp.Path() + "pipe").c_str(), 0644);
        const std::string path = Prepare(temp, setting);
        const int code = test::RunInChild(
            [&] {
                const rlimit limit{64, 64};
                if (diskFull) {
                    setrlimit(RLIMIT_FSIZE, &limit);
                }
                return ReplaceFileContents(path, std::string(100, 'x')) ? 1 : 0;
            },
            10);
        chmod(temp.Path().c_str(), 0755);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(ReadText(temp.Path() + "cfg.ini"), kOld);
        EXPECT_EQ(Leftovers(temp.Path()), 0);
        EXPECT_FALSE(fs::exists(temp.Path() + "new.ini"));
    }
}

TEST(ReplaceFileContents, KeepsTheOwnerOrWritesInPlaceWhenItCannot) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user takes root";
    }
    TempFolder temp;
    const std::string theirs = temp.File("theirs.ini", kOld);
    const std::string shared = temp.File("shared.ini", kOld);
    chown(theirs.c_str(), 65534, 65534);
    chmod(shared.c_str(), 0666);
    chmod(temp.Path().c_str(), 0777);
    EXPECT_TRUE(ReplaceFileContents(theirs, kNew));
    EXPECT_EQ(Stat(theirs).st_uid, 65534u);
    EXPECT_EQ(Stat(theirs).st_gid, 65534u);
    // An unprivileged user may write root's file but not give a new file to root.
    EXPECT_EQ(test::RunInChild([&] { return ReplaceFileContents(shared, kNew) ? 0 : 1; }, 10, true),
              0);
    EXPECT_EQ(ReadText(shared), kNew);
    EXPECT_EQ(Stat(shared).st_uid, 0u);
    EXPECT_EQ(Leftovers(temp.Path()), 0);
}

TEST(ReplaceFileContents, StaleTemporariesOfDeadWritersAreRemovedOthersKept) {
    TempFolder temp;
    const pid_t dead = fork();
    if (dead == 0) {
        _exit(0);
    }
    waitpid(dead, nullptr, 0);
    const std::string alive = std::to_string(getppid());
    const std::vector<std::pair<std::string, bool>> names = {
        {".cfg.ini." + std::to_string(dead) + ".3.tmp", false},
        {".cfg.ini." + alive + ".0.tmp", true},
        {".cfg.ini.x.0.tmp", true},
        {".other.ini." + std::to_string(dead) + ".0.tmp", true},
        {"cfg.ini." + std::to_string(dead) + ".0.tmp", true},
    };
    for (const auto& [name, kept] : names) {
        temp.File(name, "");
    }
    fs::create_symlink("cfg.ini", temp.Path() + "link.ini");
    RemoveStaleTemporaries(temp.Path() + "link.ini");
    for (const auto& [name, kept] : names) {
        EXPECT_EQ(fs::exists(temp.Path() + name), kept) << name;
    }
}

}  // namespace
}  // namespace rizo
