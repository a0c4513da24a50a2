// Where the settings file is found, and what loading and saving do to the record and the file.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>

#include "settings/profile_file.h"
#include "settings/shell_util.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

using test::ReadText;
using test::ScopedEnv;
using test::TempFolder;
using test::WriteText;

const char* const kNewFileText =
    "[FrameWnd]\nAlwaysOnTop=0\nCx=900\nCy=550\nX=-1\nY=-1\n"
    "[ListComlumn]\nFileName=250\nMD5=250\nSHA1=300\nCRC32=100\nSHA256=470\nSize=100\n"
    "DateCreated=130\nDateModified=130\nFolder=300\n"
    "[OptionCopy]\nIncSize=1\nIncDateCreated=1\nIncDateModified=0\nIncFolder=0\nDelimiterType=0\n"
    "[OptionGeneral]\nShowHashInUppercase=0\nAutoSortFileName=0\nUseMonoFont=1\nShowBeepMessage=1\n"
    "HashMD5=1\nHashSHA1=0\nHashCRC32=0\nHashSHA256=0\n";

ProgramSettings LoadFrom(const std::string& path) {
    ProgramSettings settings;
    settings.SettingsPath = path;
    LoadSettings(settings);
    return settings;
}

TEST(SettingsStore, FirstStartUsesDefaultsCreatesUserFolderAndWritesEveryKey) {
    TempFolder temp;
    ScopedEnv xdg("XDG_CONFIG_HOME", temp.Path() + "config");
    ProgramSettings settings;
    ResolveSettingsPath(settings);
    ASSERT_FALSE(ShellUtil::FileExists(settings.ProgramDirectory + "cfg.ini"));

    const std::string folder = temp.Path() + "config/Dodevovaze Rizodidiz/";
    EXPECT_EQ(settings.UserDataDirectory, folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(settings.SettingsPath, folder + "cfg.ini");

    LoadSettings(settings);
    const HashSelection hashes = settings.Hashes();
    EXPECT_TRUE(hashes.md5);
    EXPECT_FALSE(hashes.sha1 || hashes.crc32 || hashes.sha256);
    EXPECT_TRUE(settings.UseMonoFont);
    EXPECT_EQ(settings.Cx, 900);
    EXPECT_EQ(settings.Cy, 550);

    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadText(settings.SettingsPath), kNewFileText);
}

TEST(SettingsStore, HashSelectionMirrorsTheFourHashKeys) {
    ProgramSettings settings;
    settings.SetHashes({false, true, true, false});
    EXPECT_FALSE(settings.HashMD5);
    EXPECT_TRUE(settings.HashSHA1);
    EXPECT_TRUE(settings.HashCRC32);
    EXPECT_FALSE(settings.HashSHA256);
    settings.HashSHA256 = true;
    EXPECT_TRUE(settings.Hashes().sha256);
}

TEST(ProfileFile, MissingFileIsCreatedOnlyByAWrite) {
    TempFolder temp;
    const std::string path = temp.Path() + "cfg.ini";
    ProfileFile file;
    EXPECT_FALSE(file.Attach(path, true));
    EXPECT_TRUE(file.Attach(path, false));
    EXPECT_TRUE(file.Commit());
    EXPECT_FALSE(ShellUtil::FileExists(path));
    file.WriteValue("S", "k", "1");
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadText(path), "[S]\nk=1\n");
    EXPECT_TRUE(file.Attach(path, true));
}

TEST(SettingsStore, CopyBesideProgramWinsAndIsTheOnlyOneWritten) {
    TempFolder temp;
    const std::string programDir = temp.Path() + "bin/";
    const std::string userDir = temp.Path() + "user/";
    std::filesystem::create_directories(programDir);
    std::filesystem::create_directories(userDir);
    WriteText(programDir + "cfg.ini", "[FrameWnd]\nCx=1000\n");
    WriteText(userDir + "cfg.ini", "[FrameWnd]\nCx=1200\n");

    ProgramSettings settings;
    ResolveSettingsPath(settings, programDir, userDir);
    EXPECT_EQ(settings.SettingsPath, programDir + "cfg.ini");
    LoadSettings(settings);
    EXPECT_EQ(settings.Cx, 1000);

    settings.Cx = 1111;
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_EQ(LoadFrom(programDir + "cfg.ini").Cx, 1111);
    EXPECT_EQ(ReadText(userDir + "cfg.ini"), "[FrameWnd]\nCx=1200\n");
}

TEST(SettingsStore, CurrentFolderIsUsedOnlyWithoutAUserFolder) {
    TempFolder temp;
    WriteText(temp.Path() + "cfg.ini", "");
    const auto oldCurrent = std::filesystem::current_path();
    std::filesystem::current_path(temp.Path());
    ProgramSettings settings;
    ResolveSettingsPath(settings, "", temp.Path() + "user/");
    EXPECT_EQ(settings.SettingsPath, temp.Path() + "user/cfg.ini");
    ResolveSettingsPath(settings, "/nonexistent-rizo/", "");
    EXPECT_EQ(settings.SettingsPath, "cfg.ini");
    std::filesystem::current_path(oldCurrent);
}

TEST(SettingsStore, LoadTurnsValuesIntoNumbersAndKeepsWhatIsMissing) {
    struct Case {
        const char* file;
        std::function<void(ProgramSettings&)> expect;
    };
    const Case cases[] = {
        {"", [](ProgramSettings&) {}},
        {"[FrameWnd]\nAlwaysOnTop=2\n", [](ProgramSettings& s) { s.AlwaysOnTop = true; }},
        {"[OptionGeneral]\nHashSHA1=yes\nUseMonoFont=yes\n",
         [](ProgramSettings& s) { s.UseMonoFont = false; }},
        {"[FrameWnd]\nX= 25abc\n", [](ProgramSettings& s) { s.X = 25; }},
        {"[FrameWnd]\nCx=\nCy=  \n", [](ProgramSettings&) {}},
        {"[OptionCopy]\nDelimiterType=7\n", [](ProgramSettings& s) { s.DelimiterType = 7; }},
        {"[FrameWnd]\nX=\t-40x\nY=+12\nCx=99999999999\nCy=-99999999999\n",
         [](ProgramSettings& s) { s.X = -40, s.Y = 12, s.Cx = INT32_MAX, s.Cy = INT32_MIN; }},
        {"[ListComlumn]\nFolder=-5\nsha256=0\nMD5=-\n",
         [](ProgramSettings& s) {
             s.ColumnWidth[8] = -5, s.ColumnWidth[4] = 0, s.ColumnWidth[1] = 0;
         }},
        {"Cx=1000\n[FrameWnd]\n; Cy=600\n[OptionGeneral]\nHashCRC32=1\nHashCRC32=0\n",
         [](ProgramSettings& s) { s.HashCRC32 = true; }},
    };
    TempFolder temp;
    for (const Case& c : cases) {
        WriteText(temp.Path() + "cfg.ini", c.file);
        ProgramSettings expected;
        expected.SettingsPath = temp.Path() + "cfg.ini";
        c.expect(expected);
        EXPECT_EQ(LoadFrom(temp.Path() + "cfg.ini"), expected) << c.file;
    }
}

TEST(SettingsStore, SaveKeepsHandWrittenLinesAndChangesOnlyValues) {
    TempFolder temp;
    const std::string path = temp.Path() + "cfg.ini";
    WriteText(
        path,
        "; edited by hand\r\n\r\n[frameWND]\r\nalwaysontop = 2\r\ncx=1000\r\nExtra=keep me\r\n"
        "\r\n[Plugins]\r\nName=value\r\n[ListComlumn]\r\nFileName=250\r\n# widths above\r\n"
        "[OptionCopy]\r\nDelimiterType=7");
    ProgramSettings settings = LoadFrom(path);
    settings.Cx = 1024;
    settings.HashSHA1 = true;
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_EQ(
        ReadText(path),
        "; edited by hand\r\n\r\n[frameWND]\r\nalwaysontop = 1\r\ncx=1024\r\nExtra=keep me\r\n"
        "Cy=550\r\nX=-1\r\nY=-1\r\n"
        "\r\n[Plugins]\r\nName=value\r\n[ListComlumn]\r\nFileName=250\r\n"
        "MD5=250\r\nSHA1=300\r\nCRC32=100\r\nSHA256=470\r\nSize=100\r\nDateCreated=130\r\n"
        "DateModified=130\r\nFolder=300\r\n# widths above\r\n"
        "[OptionCopy]\r\nDelimiterType=7\r\nIncSize=1\r\nIncDateCreated=1\r\n"
        "IncDateModified=0\r\nIncFolder=0\r\n"
        "[OptionGeneral]\r\nShowHashInUppercase=0\r\nAutoSortFileName=0\r\nUseMonoFont=1\r\n"
        "ShowBeepMessage=1\r\nHashMD5=1\r\nHashSHA1=1\r\nHashCRC32=0\r\nHashSHA256=0\r\n");
}

TEST(SettingsStore, FileWithOnlyOptionGeneralGetsTheOtherSectionsAppended) {
    TempFolder temp;
    const std::string path = temp.Path() + "cfg.ini";
    WriteText(path, "[OptionGeneral]\nHashCRC32=1\n");
    ProgramSettings settings = LoadFrom(path);
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadText(path),
              "[OptionGeneral]\nHashCRC32=1\nShowHashInUppercase=0\nAutoSortFileName=0\n"
              "UseMonoFont=1\nShowBeepMessage=1\nHashMD5=1\nHashSHA1=0\nHashSHA256=0\n"
              "[FrameWnd]\nAlwaysOnTop=0\nCx=900\nCy=550\nX=-1\nY=-1\n"
              "[ListComlumn]\nFileName=250\nMD5=250\nSHA1=300\nCRC32=100\nSHA256=470\n"
              "Size=100\nDateCreated=130\nDateModified=130\nFolder=300\n"
              "[OptionCopy]\nIncSize=1\nIncDateCreated=1\nIncDateModified=0\nIncFolder=0\n"
              "DelimiterType=0\n");
}

TEST(SettingsStore, SaveKeepsTheFilesModeAndSymbolicLink) {
    TempFolder temp;
    const std::string real = temp.Path() + "real.ini";
    const std::string link = temp.Path() + "cfg.ini";
    WriteText(real, "[FrameWnd]\nCx=1000\n");
    chmod(real.c_str(), 0640);
    std::filesystem::create_symlink(real, link);

    ProgramSettings settings = LoadFrom(link);
    settings.Cy = 700;
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(LoadFrom(real).Cy, 700);
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Makes every file write beyond `bytes` fail, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(SettingsStore, FailedSaveLeavesTheOldFileIntactAndNoLeftovers) {
    struct Case {
        const char* name;
        const char* settingsFile;  // relative to the folder, which holds an old "cfg.ini"
        std::function<void(const std::string& folder)> spoil;
        bool diskFull = false;
    };
    const Case cases[] = {
        {"read-only file", "cfg.ini",
         [](const std::string& f) { chmod((f + "cfg.ini").c_str(), 0444); }},
        {"read-only folder", "cfg.ini", [](const std::string& f) { chmod(f.c_str(), 0555); }},
        {"disk full part-way", "cfg.ini", nullptr, true},
        {"folder under a regular file", "cfg.ini/cfg.ini", nullptr},
        {"settings path is a folder", "sub",
         [](const std::string& f) { std::filesystem::create_directory(f + "sub"); }},
    };
    const std::string old = "[FrameWnd]\nCx=1000\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        WriteText(temp.Path() + "cfg.ini", old);
        if (c.spoil) {
            c.spoil(temp.Path());
        }
        ProgramSettings settings;
        settings.SettingsPath = temp.Path() + c.settingsFile;
        std::optional<FileSizeLimit> diskFull;
        if (c.diskFull) {
            diskFull.emplace(64);
        }
        const bool saved = SaveSettings(settings);
        diskFull.reset();
        chmod(temp.Path().c_str(), 0755);
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadText(temp.Path() + "cfg.ini"), old);
        auto entries = std::distance(std::filesystem::directory_iterator(temp.Path()), {});
        EXPECT_EQ(entries, std::filesystem::exists(temp.Path() + "sub") ? 2 : 1);
    }
}

}  // namespace
}  // namespace rizo
