// Where the settings file is found, and what loading and saving do to the record and the file.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "settings/profile_file.h"
#include "settings/shell_util.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;
namespace fs = std::filesystem;

// The default keys of each section, in the order they are written.
const std::string kFrameWnd = "[FrameWnd]\nAlwaysOnTop=0\nCx=900\nCy=550\nX=-1\nY=-1\n";
const std::string kListColumn =
    "[ListComlumn]\nFileName=250\nMD5=250\nSHA1=300\nCRC32=100\nSHA256=470\nSize=100\n"
    "DateCreated=130\nDateModified=130\nFolder=300\n";
const std::string kOptionCopy =
    "[OptionCopy]\nIncSize=1\nIncDateCreated=1\nIncDateModified=0\nIncFolder=0\nDelimiterType=0\n";
const std::string kGeneralHead =
    "[OptionGeneral]\nShowHashInUppercase=0\nAutoSortFileName=0\nUseMonoFont=1\nShowBeepMessage="
    "1\n";

ProgramSettings LoadFrom(const std::string& path) {
    ProgramSettings settings;
    settings.SettingsPath = path;
    LoadSettings(settings);
    return settings;
}

TEST(SettingsStore, FirstStartUsesDefaultsCreatesUserFolderAndWritesEveryKeyInOrder) {
    TempFolder temp;
    test::ScopedEnv xdg("XDG_CONFIG_HOME", temp.Path() + "config");
    ProgramSettings settings;
    ResolveSettingsPath(settings);
    ASSERT_FALSE(ShellUtil::FileExists(settings.ProgramDirectory + "cfg.ini"));
    const std::string folder = temp.Path() + "config/Dodevovaze Rizodidiz/";
    EXPECT_EQ(settings.UserDataDirectory, folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(settings.SettingsPath, folder + "cfg.ini");

    LoadSettings(settings);
    ProgramSettings defaults;
    defaults.ProgramDirectory = settings.ProgramDirectory;
    defaults.UserDataDirectory = settings.UserDataDirectory;
    defaults.SettingsPath = settings.SettingsPath;
    EXPECT_EQ(settings, defaults);
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadText(settings.SettingsPath),
              kFrameWnd + kListColumn + kOptionCopy + kGeneralHead +
                  "HashMD5=1\nHashSHA1=0\nHashCRC32=0\nHashSHA256=0\n");
}

TEST(SettingsStore, HashSelectionSetsTheFourHashKeys) {
    ProgramSettings settings, expected;
    settings.SetHashes({false, true, true, false});
    expected.HashMD5 = false;
    expected.HashSHA1 = expected.HashCRC32 = true;
    EXPECT_EQ(settings, expected);
}

TEST(SettingsStore, CopyBesideProgramWinsAndIsTheOnlyOneWritten) {
    TempFolder temp;
    const std::string programDir = temp.Path() + "bin/", userDir = temp.Path() + "user/";
    fs::create_directories(programDir);
    fs::create_directories(userDir);
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

    // The current folder is used only without a user folder.
    const auto oldCurrent = fs::current_path();
    fs::current_path(temp.Path());
    ResolveSettingsPath(settings, "", userDir);
    EXPECT_EQ(settings.SettingsPath, userDir + "cfg.ini");
    ResolveSettingsPath(settings, "/nonexistent-rizo/", "");
    EXPECT_EQ(settings.SettingsPath, "cfg.ini");
    fs::current_path(oldCurrent);
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
        ProgramSettings expected;
        expected.SettingsPath = temp.File("cfg.ini", c.file);
        c.expect(expected);
        EXPECT_EQ(LoadFrom(expected.SettingsPath), expected) << c.file;
    }
}

// Values change in place, missing keys go to the end of their section and missing sections to the
// end of the file; every other line, its case and its line break stay as they were.
TEST(SettingsStore, SaveChangesOnlyValuesAndAddsWhatIsMissing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[OptionGeneral]\nHashCRC32=1\n",
         "[OptionGeneral]\nHashCRC32=1\n" + kGeneralHead.substr(16) +
             "HashMD5=1\nHashSHA1=1\nHashSHA256=0\n" + kFrameWnd + kListColumn + kOptionCopy},
        {"; edited by hand\r\n\r\n[frameWND]\r\nalwaysontop = 2\r\ncx=1000\r\nExtra=keep me\r\n"
         "\r\n[Plugins]\r\nName=value\r\n[ListComlumn]\r\nFileName=250\r\n# widths above\r\n"
         "[OptionCopy]\r\nDelimiterType=7",
         "; edited by hand\r\n\r\n[frameWND]\r\nalwaysontop = 1\r\ncx=1024\r\nExtra=keep me\r\n"
         "Cy=550\r\nX=-1\r\nY=-1\r\n\r\n[Plugins]\r\nName=value\r\n[ListComlumn]\r\n"
         "FileName=250\r\nMD5=250\r\nSHA1=300\r\nCRC32=100\r\nSHA256=470\r\nSize=100\r\n"
         "DateCreated=130\r\nDateModified=130\r\nFolder=300\r\n# widths above\r\n"
         "[OptionCopy]\r\nDelimiterType=7\r\nIncSize=1\r\nIncDateCreated=1\r\n"
         "IncDateModified=0\r\nIncFolder=0\r\n"
         "[OptionGeneral]\r\nShowHashInUppercase=0\r\nAutoSortFileName=0\r\nUseMonoFont=1\r\n"
         "ShowBeepMessage=1\r\nHashMD5=1\r\nHashSHA1=1\r\nHashCRC32=0\r\nHashSHA256=0\r\n"},
    };
    TempFolder temp;
    for (const auto& [before, after] : cases) {
        ProgramSettings settings = LoadFrom(temp.File("cfg.ini", before));
        settings.HashSHA1 = true;
        settings.Cx = settings.Cx == 1000 ? 1024 : settings.Cx;
        EXPECT_TRUE(SaveSettings(settings));
        EXPECT_EQ(ReadText(settings.SettingsPath), after);
    }
}

TEST(SettingsStore, SaveKeepsTheFilesModeAndSymbolicLink) {
    TempFolder temp;
    const std::string real = temp.File("real.ini", "[FrameWnd]\nCx=1000\n");
    const std::string link = temp.Path() + "cfg.ini";
    chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    ProgramSettings settings = LoadFrom(link);
    settings.Cy = 700;
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(LoadFrom(real).Cy, 700);
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
}

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
         [](const std::string& f) { fs::create_directory(f + "sub"); }},
    };
    const std::string old = "[FrameWnd]\nCx=1000\n";
    std::signal(SIGXFSZ, SIG_IGN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        temp.File("cfg.ini", old);
        if (c.spoil) {
            c.spoil(temp.Path());
        }
        ProgramSettings settings;
        settings.SettingsPath = temp.Path() + c.settingsFile;
        // A full disk: every write beyond 64 bytes fails (SIGXFSZ ignored, so write reports it).
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        rlimit limit{c.diskFull ? 64 : unlimited.rlim_cur, unlimited.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = SaveSettings(settings);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        chmod(temp.Path().c_str(), 0755);
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadText(temp.Path() + "cfg.ini"), old);
        auto entries = std::distance(fs::directory_iterator(temp.Path()), {});
        EXPECT_EQ(entries, fs::exists(temp.Path() + "sub") ? 2 : 1);
    }
}

}  // namespace
}  // namespace rizo
