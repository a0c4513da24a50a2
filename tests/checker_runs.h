// SPDX-License-Identifier: MIT
// rizodidiz-cli beside another checker on the same arguments in the same folder, for the suites
// that compare the two.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/temp_folder.h"

namespace rizo::test {

// Runs a shell command in `dir`, where $CLI names rizodidiz-cli, as user 65534 when
// `unprivileged` and this is root.
inline ShellOutcome RunWithCli(const std::string& dir, const std::string& command,
                               bool unprivileged) {
    return RunShell(dir, "CLI=" + Quoted(RIZO_CLI_PATH) + " && " + command, unprivileged);
}

// Both programs on the same arguments in the same locale, unprivileged; ours names itself where
// the tool does (xxhsum names nobody).
inline void ExpectSameAs(const std::string& dir, const std::string& tool,
                         const std::string& arguments, const std::string& locale = "C.UTF-8") {
    const std::string environment = "LC_ALL=" + locale + " ";
    const ShellOutcome theirs = RunWithCli(dir, environment + tool + " " + arguments, true);
    ShellOutcome ours = RunWithCli(dir, environment + "\"$CLI\" " + arguments, true);
    for (std::size_t at = 0; (at = ours.err.find("rizodidiz-cli:", at)) != std::string::npos;) {
        ours.err.replace(at, 13, tool);
    }
    const std::string what = environment + tool + " " + arguments;
    EXPECT_EQ(ours.out, theirs.out) << what;
    EXPECT_EQ(ours.err, theirs.err) << what;
    EXPECT_EQ(ours.status, theirs.status) << what;
}

}  // namespace rizo::test
