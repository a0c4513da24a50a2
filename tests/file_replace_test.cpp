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

TEST(ReplaceFileContents, KeepsLinksModeAndHardLinksAndWritesInPlaceWhereNoFileCanBeMade) {
    struct Case {
        const char* name;
        // Prepares the folder and returns the path to write.
        std::function<std::string(const std::string&)> setUp;
        // The file that must hold the new text afterwards and stay what it was.
        const char* result;
        fs::perms mode;
    };
    const Case cases[] = {
        {"new file", [](const std::string& f) { return f + "cfg.ini"; }, "cfg.ini",
         fs::perms(0644)},
        {"mode kept",
         [](const std::string& f) {
             chmod((f + "cfg.ini").c_str(), 0640);
             return f + "cfg.ini";
         },
         "cfg.ini", fs::perms(0640)},
        {"link to a file",
         [](const std::string& f) {
             fs::rename(f + "cfg.ini", f + "real.ini");
             chmod((f + "real.ini").c_str(), 0600);
             fs::create_symlink("real.ini", f + "cfg.ini");
             return f + "cfg.ini";
         },
         "real.ini", fs::perms(0600)},
        {"dangling link through a chain of links",
         [](const std::string& f) {
             fs::remove(f + "cfg.ini");
             fs::create_directory(f + "dots");
             fs::create_symlink("dots/link", f + "cfg.ini");
             fs::create_symlink(f + "dots/cfg.ini", f + "dots/link");
             return f + "cfg.ini";
         },
         "dots/cfg.ini", fs::perms(0644)},
        {"hard link",
         [](const std::string& f) {
             fs::create_hard_link(f + "cfg.ini", f + "other.ini");
             return f + "other.ini";
         },
         "cfg.ini", fs::perms(0644)},
        {"read-only folder",
         [](const std::string& f) {
             chmod(f.c_str(), 0555);
             return f + "cfg.ini";
         },
         "cfg.ini", fs::perms(0644)},
    };
    umask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        chmod(temp.File("cfg.ini", kOld).c_str(), 0644);
        const std::string path = c.setUp(temp.Path());
        const bool link = fs::is_symlink(path);
        const ino_t inode = Stat(temp.Path() + c.result).st_ino;
        int error = 0;
        EXPECT_TRUE(ReplaceFileContents(path, kNew, &error)) << strerror(error);
        chmod(temp.Path().c_str(), 0755);
        EXPECT_EQ(ReadText(temp.Path() + c.result), kNew);
        EXPECT_EQ(fs::status(temp.Path() + c.result).permissions(), c.mode);
        EXPECT_EQ(fs::is_symlink(path), link);
        EXPECT_EQ(Leftovers(temp.Path()), 0);
        // Only a rename gives a new inode; hard links and read-only folders need the old one.
        if (std::string(c.name) == "hard link" || std::string(c.name) == "read-only folder") {
            EXPECT_EQ(Stat(temp.Path() + c.result).st_ino, inode);
            EXPECT_EQ(ReadText(path), kNew);
        }
    }
}

TEST(ReplaceFileContents, FailureLeavesTheOldFileWholeAndNoTemporaryFile) {
    struct Case {
        const char* name;
        std::function<std::string(const std::string&)> setUp;
        bool diskFull = false;
    };
    const Case cases[] = {
        {"read-only file",
         [](const std::string& f) {
             chmod((f + "cfg.ini").c_str(), 0444);
             return f + "cfg.ini";
         }},
        {"new file in a read-only folder",
         [](const std::string& f) {
             chmod(f.c_str(), 0555);
             return f + "new.ini";
         }},
        {"disk full", [](const std::string& f) { return f + "cfg.ini"; }, true},
        {"disk full writing in place",
         [](const std::string& f) {
             chmod(f.c_str(), 0555);
             return f + "cfg.ini";
         },
         true},
        {"folder under a regular file", [](const std::string& f) { return f + "cfg.ini/x"; }},
        {"path is a folder",
         [](const std::string& f) {
             fs::create_directory(f + "sub");
             return f + "sub";
         }},
        {"FIFO that nobody reads",
         [](const std::string& f) {
             mkfifo((f + "pipe").c_str(), 0644);
             return f + "pipe";
         }},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        temp.File("cfg.ini", kOld);
        const std::string path = c.setUp(temp.Path());
        // A full disk: the file may not grow past 64 bytes (SIGXFSZ ignored, so calls report it).
        const int code = test::RunInChild(
            [&] {
                const rlimit limit{64, 64};
                if (c.diskFull) {
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
