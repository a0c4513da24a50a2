// SPDX-License-Identifier: MIT
// Where the settings file is found, and what loading and saving do to the record and the file.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <tuple>

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
    "DateCreated=130\nDateModified=130\nFolder=300\nVerdict=240\n";
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
             s.ColumnWidthRead[8] = s.ColumnWidthRead[4] = s.ColumnWidthRead[1] = true;
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
// end of the file in their order (the line-level rules are the ini document's own).
TEST(SettingsStore, SaveChangesOnlyValuesAndAddsWhatIsMissing) {
    TempFolder temp;
    ProgramSettings settings = LoadFrom(temp.File("cfg.ini", "[OptionGeneral]\nHashCRC32=1\n"));
    settings.HashSHA1 = true;
    EXPECT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadText(settings.SettingsPath),
              "[OptionGeneral]\nHashCRC32=1\n" + kGeneralHead.substr(16) +
                  "HashMD5=1\nHashSHA1=1\nHashSHA256=0\n" + kFrameWnd + kListColumn + kOptionCopy);
}

// Files written on Windows, on old Macs and on Unix give the same record, and a save keeps each
// file's line breaks, so the next start reads it the same again.
TEST(SettingsStore, LineBreaksOfEverySystemReadTheSameAndAreKept) {
    const std::string lines =
        "; written by hand\n[FrameWnd]\nCx=1000\nAlwaysOnTop=1\n\n"
        "[OptionGeneral]\nHashSHA256=1\nHashMD5=0\n";
    TempFolder temp;
    for (const std::string lineBreak : {"\n", "\r", "\r\n"}) {
        std::string text = lines;
        for (size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + lineBreak.size())) {
            text.replace(at, 1, lineBreak);
        }
        ProgramSettings expected;
        expected.SettingsPath = temp.File("cfg.ini", text);
        expected.Cx = 1000;
        expected.AlwaysOnTop = expected.HashSHA256 = true;
        expected.HashMD5 = false;
        ProgramSettings settings = LoadFrom(expected.SettingsPath);
        EXPECT_EQ(settings, expected) << testing::PrintToString(lineBreak);
        settings.Cy = 700;
        EXPECT_TRUE(SaveSettings(settings));
        std::string saved = ReadText(settings.SettingsPath);
        EXPECT_TRUE(saved.starts_with("; written by hand" + lineBreak + "[FrameWnd]"))
            << testing::PrintToString(saved);
        for (size_t at; (at = saved.find(lineBreak)) != std::string::npos;) {
            saved.erase(at, lineBreak.size());
        }
        EXPECT_EQ(saved.find_first_of("\r\n"), std::string::npos) << testing::PrintToString(saved);
        const ProgramSettings again = LoadFrom(settings.SettingsPath);
        EXPECT_EQ(std::tuple(again.Cx, again.Cy, again.AlwaysOnTop, again.HashMD5),
                  std::tuple(1000, 700, true, false))
            << testing::PrintToString(lineBreak);
    }
}

// The last folder keeps its bytes, blanks and quotes at either end included; one that the file
// cannot hold (a line break) leaves the key out.
TEST(SettingsStore, LastFolderComesBackAsItWasSaved) {
    TempFolder temp;
    for (const std::string folder : {" /a \"b\" ",
                                     "/m\xE9"
                                     "dia/",
                                     "/x\ny"}) {
        ProgramSettings settings = LoadFrom(temp.File("cfg.ini", ""));
        settings.LastFolder = folder;
        EXPECT_TRUE(SaveSettings(settings));
        const bool held = folder.find('\n') == std::string::npos;
        EXPECT_EQ(LoadFrom(settings.SettingsPath).LastFolder, held ? folder : "") << folder;
    }
}

// A FIFO or a folder named cfg.ini: loading must not wait for a writer, and nothing is written.
TEST(SettingsStore, SettingsPathThatIsNoRegularFileGivesDefaultsAndIsNeverWritten) {
    TempFolder temp;
    const std::string fifo = temp.Path() + "cfg.ini", folder = temp.Path() + "dir.ini";
    mkfifo(fifo.c_str(), 0644);
    fs::create_directory(folder);
    for (const std::string& path : {fifo, folder}) {
        const int code = test::RunInChild(
            [&] {
                ProgramSettings defaults;
                defaults.SettingsPath = path;
                ProgramSettings settings = LoadFrom(path);
                const bool loadedDefaults = settings == defaults;
                settings.Cx = 1234;
                return loadedDefaults && !SaveSettings(settings) ? 0 : 1;
            },
            10);
        EXPECT_EQ(code, 0) << path;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_empty(folder));
}

// A large file loads holding a few copies of its text at most, not one object per line. Measured
// in a child, whose peak resident size starts from its size at the fork.
TEST(SettingsStore, TenMegabytesOfBlankLinesLoadInLessThanAHundredMegabytes) {
    TempFolder temp;
    const std::string path =
        temp.File("cfg.ini", std::string(10 << 20, '\n') + "[FrameWnd]\nCx=1000\n");
    const int code = test::RunInChild(
        [&path] {
            rusage before{}, after{};
            getrusage(RUSAGE_SELF, &before);
            const bool loaded = LoadFrom(path).Cx == 1000;
            getrusage(RUSAGE_SELF, &after);
            // In kilobytes.
            return loaded && after.ru_maxrss - before.ru_maxrss < 100 << 10 ? 0 : 1;
        },
        20);
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace rizo
