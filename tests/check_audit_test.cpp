// SPDX-License-Identifier: MIT
// rizodidiz-cli -c --audit: the lines coreutils' checkers print for the same lists, with the new
// files and the moves of a folder after them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/temp_folder.h"

namespace {

using rizo::test::Quoted;
using Outcome = rizo::test::ShellOutcome;

class CheckAuditTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dir + "/tree"); }

    // Runs a shell command in the audited folder, `tree`; the captured output goes beside it.
    // `unprivileged`: as user 65534 when this is root.
    Outcome Run(const std::string& command, bool unprivileged = false) const {
        return rizo::test::RunShell(
            dir, "CLI=" + Quoted(RIZO_CLI_PATH) + " && cd tree && " + command, unprivileged);
    }

    // Removes the first occurrence of `line` from `text`; false when it is not there.
    static bool Take(std::string& text, const std::string& line) {
        const std::size_t at = text.find(line);
        if (at == std::string::npos) {
            return false;
        }
        text.erase(at, line.size());
        return true;
    }

    rizo::test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
};

// Where the audit adds nothing, every line, warning and exit code is the reference checker's,
// with failures, missing files and each verbosity.
TEST_F(CheckAuditTest, WithNothingNewOrMovedTheCheckIsCoreutils) {
    ASSERT_EQ(Run("mkdir -p sub/deep && for f in a b sub/c sub/deep/d gone 'sp ace'; do "
                  "printf '%s' \"$f\" > \"$f\"; done && sha256sum -- * sub/c sub/deep/d "
                  "> SHA256SUMS 2>/dev/null; md5sum a b > ../MD5SUMS && rm gone && printf x >> b")
                  .status,
              0);
    for (const char* tool : {"sha256sum -c", "md5sum -c"}) {
        const std::string list = tool[0] == 's' ? "SHA256SUMS" : "../MD5SUMS";
        // MD5SUMS names only some of the files: SHA256SUMS names the others.
        const std::string more = list == "../MD5SUMS" ? " SHA256SUMS" : "";
        for (const char* options : {"", "--quiet", "--status", "--ignore-missing", "--warn"}) {
            const std::string arguments = std::string(options) + " " + list;
            const Outcome theirs = Run(std::string(tool) + " " + arguments);
            Outcome ours = Run("\"$CLI\" -c --audit " + arguments + more);
            if (!more.empty()) {
                const Outcome second = Run("sha256sum -c " + std::string(options) + more);
                EXPECT_EQ(ours.out, theirs.out + second.out) << arguments;
                EXPECT_EQ(ours.status, 1) << arguments;
                continue;
            }
            for (std::size_t at = 0;
                 (at = ours.err.find("rizodidiz-cli:", at)) != std::string::npos;) {
                ours.err.replace(at, 13, "sha256sum");
            }
            EXPECT_EQ(ours.out, theirs.out) << arguments;
            EXPECT_EQ(ours.err, theirs.err) << arguments;
            EXPECT_EQ(ours.status, theirs.status) << arguments;
        }
    }
}

// New, moved, missing, renamed and changed, in nested folders, with odd names: the lines of the
// files that stayed are sha256sum's for the list without the moved file; a moved file's line says
// where it went in place of its missing line, the new files follow, and standard error counts
// them.
TEST_F(CheckAuditTest, NewMovedMissingAndChangedInNestedFolders) {
    ASSERT_EQ(Run("mkdir -p sub/deep && for f in a gone moved changed 'twin 1' \"$(printf "
                  "'odd\\nname')\" sub/c sub/deep/d; do printf '%s' \"${f#twin }\" > \"$f\"; "
                  "done && sha256sum -- * sub/c sub/deep/d > SUMS 2>/dev/null; "
                  "grep -v ' moved$' SUMS > ../SUMS.stayed && rm gone && "
                  "mv moved sub/deep/there && mv changed renamed && printf x >> renamed && "
                  "mv \"$(printf 'odd\\nname')\" 'sub/odd 2' && printf new > sub/deep/new && "
                  "printf 1 > copy && mv 'twin 1' sub/'twin 1'")
                  .status,
              0);
    const Outcome theirs = Run("sha256sum -c ../SUMS.stayed");
    Outcome ours = Run("\"$CLI\" -c --audit SUMS");
    EXPECT_EQ(ours.status, 1);
    // The copy has the twin's digest too, but the twin keeps its name where it went.
    const std::string tail = "copy: NEW\nrenamed: NEW\nsub/deep/new: NEW\n";
    ASSERT_TRUE(ours.out.ends_with(tail)) << ours.out;
    ours.out.resize(ours.out.size() - tail.size());
    EXPECT_TRUE(Take(ours.out, "moved: MOVED to sub/deep/there\n")) << ours.out;
    EXPECT_TRUE(Take(ours.out, "\\odd\\nname: MOVED to sub/odd 2\n")) << ours.out;
    EXPECT_TRUE(Take(ours.out, "twin 1: MOVED to sub/twin 1\n")) << ours.out;
    // The odd name's line went in the reference's output too, which was not moved there.
    std::string stayed = theirs.out;
    EXPECT_TRUE(Take(stayed, "\\odd\\nname: FAILED open or read\n")) << stayed;
    EXPECT_TRUE(Take(stayed, "twin 1: FAILED open or read\n")) << stayed;
    EXPECT_EQ(ours.out, stayed);
    EXPECT_TRUE(Take(ours.err, "rizodidiz-cli: WARNING: 3 new, 3 moved\n")) << ours.err;
    EXPECT_TRUE(ours.err.find("WARNING: 2 listed files could not be read\n") != std::string::npos)
        << ours.err;
    EXPECT_TRUE(ours.err.find("gone: No such file") != std::string::npos) << ours.err;
    EXPECT_TRUE(ours.err.find("changed: No such file") != std::string::npos) << ours.err;
    EXPECT_EQ(ours.err.find("moved: No such file"), std::string::npos) << ours.err;
}

// Two lists of one folder: a file either names is not new, neither list is, however it is named;
// a folder that cannot be walked counts against the audit.
TEST_F(CheckAuditTest, TwoListsAndTheListFilesThemselves) {
    ASSERT_EQ(Run("printf a > a && printf b > b && sha256sum a > SHA256SUMS && md5sum b > MD5SUMS "
                  "&& ln -s MD5SUMS link")
                  .status,
              0);
    for (const char* lists : {"SHA256SUMS MD5SUMS", "./SHA256SUMS ../tree/MD5SUMS"}) {
        const Outcome both = Run("\"$CLI\" -c --audit " + std::string(lists));
        EXPECT_EQ(both.out, "a: OK\nb: OK\nlink: NEW\n") << lists;
        EXPECT_EQ(both.err, "rizodidiz-cli: WARNING: 1 new\n") << lists;
        EXPECT_EQ(both.status, 1) << lists;
    }
    const Outcome throughLink = Run("\"$CLI\" -c --audit SHA256SUMS link");
    EXPECT_EQ(throughLink.out, "a: OK\nb: OK\n");
    EXPECT_EQ(throughLink.status, 0) << throughLink.err;
    const Outcome one = Run("\"$CLI\" -c --audit --status MD5SUMS");
    EXPECT_EQ(one.out + one.err, "");
    EXPECT_EQ(one.status, 1);
    const Outcome quiet = Run("\"$CLI\" -c --audit --quiet - < SHA256SUMS");
    EXPECT_EQ(quiet.out, "MD5SUMS: NEW\nSHA256SUMS: NEW\nb: NEW\nlink: NEW\n");
    // The unprivileged user writes the captured output beside the folder and cannot list `locked`.
    ASSERT_EQ(Run("chmod 0777 . .. && mkdir locked && chmod 0 locked").status, 0);
    const Outcome unwalked = Run("\"$CLI\" -c --audit SHA256SUMS link", true);
    EXPECT_EQ(unwalked.out, "a: OK\nb: OK\n");
    EXPECT_EQ(unwalked.err, "rizodidiz-cli: locked: Permission denied\n");
    EXPECT_EQ(unwalked.status, 1);
}

// The new files are read only when a listed file is missing, and then each once: strace counts
// the opens of a new file's name.
TEST_F(CheckAuditTest, NewFilesAreReadOnlyToFindAMissingFile) {
    ASSERT_EQ(Run("printf a > a && printf b > b && sha256sum a b > SUMS && printf n > new").status,
              0);
    const auto opens = [this](const std::string& before) {
        const Outcome traced =
            Run(before +
                " ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "
                "strace -f -o ../trace -e trace=openat,open \"$CLI\" -c --audit SUMS "
                "> /dev/null 2>&1; grep -c '\"new\"' ../trace");
        return traced.out;
    };
    EXPECT_EQ(opens(""), "0\n") << "nothing is missing";
    EXPECT_EQ(opens("rm b &&"), "1\n") << "b is missing";
}

}  // namespace
