// SPDX-License-Identifier: MIT
// rizodidiz-cli --check against coreutils' own checkers on the same files, run side by side as an
// unprivileged user, so that a file without read permission stays unreadable also under root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/temp_folder.h"

namespace {

using rizo::test::Quoted;
using Outcome = rizo::test::ShellOutcome;

class ChecksumCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The unprivileged user must enter the folder and write the captured output there.
        ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
        const std::string setup =
            "for f in plain 'with space' 'back\\slash' \"$(printf 'new\\nline')\" "
            "\"$(printf 'cr\\rname')\" \"$(printf 'raw\\377bytes')\" co:lon \"quote'it\" "
            "\"$(printf 'caf\\303\\251')\" corrupt unreadable gone 'gone space' gone:colon "
            "\"gone'quote\" \"$(printf 'gone\\nline')\" \"$(printf 'gone\\377')\" "
            "\"$(printf 'gone\\303\\251')\" '#gone' 'gone{'; do printf '%s' \"$f\" > \"$f\"; "
            "done && mkdir folder && "
            "sha256sum -- * > SHA256SUMS 2>/dev/null; sha256sum --tag -- * > SHA256TAGS "
            "2>/dev/null; md5sum -- * > MD5SUMS 2>/dev/null; "
            "printf '%064d  folder\\nnot a checksum line\\n# comment\\n' 0 >> SHA256SUMS && "
            "printf 'junk\\n' >> MD5SUMS && printf 'x' >> corrupt && chmod 0 unreadable && rm -- "
            "gone* '#gone' "
            "&& printf '%064d  gone\\n' 0 > ONLYGONE && : > EMPTY";
        ASSERT_EQ(Run(setup, false).status, 0);
    }

    // Runs a shell command in the folder, as user 65534 when `unprivileged` and this is root.
    Outcome Run(const std::string& command, bool unprivileged = true) const {
        return rizo::test::RunShell(dir, "CLI=" + Quoted(RIZO_CLI_PATH) + " && " + command,
                                    unprivileged);
    }

    // Both programs on the same arguments in the same locale; ours names itself where the tool
    // does.
    void ExpectSameAs(const std::string& tool, const std::string& arguments,
                      const std::string& locale = "C.UTF-8") const {
        const std::string environment = "LC_ALL=" + locale + " ";
        const Outcome theirs = Run(environment + tool + " " + arguments);
        Outcome ours = Run(environment + "\"$CLI\" " + arguments);
        for (std::size_t at = 0; (at = ours.err.find("rizodidiz-cli:", at)) != std::string::npos;) {
            ours.err.replace(at, 13, tool);
        }
        const std::string what = environment + tool + " " + arguments;
        EXPECT_EQ(ours.out, theirs.out) << what;
        EXPECT_EQ(ours.err, theirs.err) << what;
        EXPECT_EQ(ours.status, theirs.status) << what;
    }

    rizo::test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
};

TEST_F(ChecksumCheckTest, OddNamesFailuresAndEveryOptionAsCoreutils) {
    struct Input {
        const char* tool;
        const char* file;
    };
    for (const char* locale : {"C", "C.UTF-8"}) {
        for (const Input input : {Input{"sha256sum", "SHA256SUMS"},
                                  Input{"sha256sum", "SHA256TAGS"}, Input{"md5sum", "MD5SUMS"}}) {
            for (const char* options :
                 {"", "--quiet", "--status", "--warn", "--strict", "--ignore-missing",
                  "--status --warn", "--warn --quiet", "--ignore-missing --quiet --strict"}) {
                ExpectSameAs(input.tool, std::string("-c ") + options + " " + input.file, locale);
            }
        }
    }
}

TEST_F(ChecksumCheckTest, ChecksumFilesThatCannotBeUsedAsCoreutils) {
    for (const char* arguments :
         {"-c EMPTY", "-c folder", "-c absent", "-c - < EMPTY", "-c < SHA256SUMS",
          "--check --warn - < plain", "-c --warn plain", "-c --ignore-missing ONLYGONE",
          "-c --status ONLYGONE", "-c SHA256SUMS absent SHA256TAGS",
          "-c --ignore-missing --status ONLYGONE"}) {
        ExpectSameAs("sha256sum", arguments);
    }
}

// Our own several-digest output lists each file four times; each line is still answered.
TEST_F(ChecksumCheckTest, AllDigestsOfAFileAreCheckedFromOneList) {
    const Outcome made =
        Run("\"$CLI\" --all plain corrupt > ALL && printf x >> corrupt && "
            "\"$CLI\" -c ALL",
            false);
    EXPECT_EQ(made.status, 1);
    std::string expected;
    for (const char* verdict : {"OK", "OK", "OK", "OK", "FAILED", "FAILED", "FAILED", "FAILED"}) {
        expected += std::string(expected.size() < 32 ? "plain" : "corrupt") + ": " + verdict + "\n";
    }
    EXPECT_EQ(made.out, expected);
    EXPECT_EQ(made.err, "rizodidiz-cli: WARNING: 4 computed checksums did NOT match\n");
}

}  // namespace
