// SPDX-License-Identifier: MIT
// The platform helpers: program folder, per-user folder, folder creation.
#include "settings/shell_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "tests/temp_folder.h"

namespace rizo {
namespace {

using test::ScopedEnv;
using test::TempFolder;

TEST(ShellUtil, ProgramDirectoryIsTheRunningExecutablesFolder) {
    EXPECT_EQ(ShellUtil::GetProgramDirectory(), RIZO_TEST_BIN_DIR "/");
}

TEST(ShellUtil, UserDataDirectoryFollowsXdgConfigHomeThenHome) {
    using Env = std::optional<std::string>;
    struct Case {
        Env xdg;
        Env home;
        std::string expected;
    };
    const Case cases[] = {
        {"/x/conf", "/home/u", "/x/conf/Sub Folder/"},
        {"/x/conf/", "/home/u", "/x/conf/Sub Folder/"},
        {"", "/home/u", "/home/u/.config/Sub Folder/"},
        {std::nullopt, "/home/u/", "/home/u/.config/Sub Folder/"},
        {"relative/conf", "/home/u", "/home/u/.config/Sub Folder/"},
        {std::nullopt, std::nullopt, ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(ShellUtil::GetUserDataDirectory("Sub Folder"), c.expected)
            << c.xdg.value_or("(unset)") << " " << c.home.value_or("(unset)");
    }
}

TEST(ShellUtil, CreateDirectoryPathCreatesOnlyTheMissingTail) {
    TempFolder temp;
    temp.File("file", "x");
    struct Case {
        std::string path;
        bool result;
    };
    const Case cases[] = {
        {"", false},
        {"/", false},
        {temp.Path() + "a/b c/d", true},
        {temp.Path() + "a/b c/e/", true},
        {temp.Path(), true},
        {temp.Path() + "file/sub/", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellUtil::CreateDirectoryPath(c.path), c.result) << c.path;
        if (c.result) {
            EXPECT_TRUE(std::filesystem::is_directory(c.path)) << c.path;
        }
    }
    EXPECT_FALSE(ShellUtil::FileExists(temp.Path() + "file/sub"));
}

}  // namespace
}  // namespace rizo
