// SPDX-License-Identifier: MIT
// rizodidiz-cli's digests beyond the window's four, beside the lines of each digest's own program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/temp_folder.h"

namespace {

using rizo::test::Quoted;

class CliDigestsTest : public ::testing::Test {
protected:
    CliDigestsTest() {
        for (const std::string name : {"-dash", "abc", "back\\slash", "both\\\nbreak", "cr\rreturn",
                                       "new\nline", "sp ace", "\xFF\xFE"}) {
            temp.File(name, "bytes of " + name);
            names += " " + Quoted(name);
        }
    }

    // Runs a shell command line in the temporary folder, `$CLI` standing for the program, with
    // the odd names as the arguments "$@".
    rizo::test::ShellOutcome Shell(const std::string& command) const {
        return rizo::test::RunShell(
            dir, "CLI=" + Quoted(RIZO_CLI_PATH) + " && set --" + names + " && " + command, false);
    }

    rizo::test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
    std::string names;
};

// A digest's own program, as the test runs it, and the options that ask this program for the same.
struct Program {
    const char* command;
    const char* options;
    bool coreutils;
};

const Program kPrograms[] = {
    {"sha224sum", "-a sha224", true},
    {"sha384sum", "-a sha384", true},
    {"sha512sum", "--algorithm=sha512", true},
    {"b2sum", "-a blake2b", true},
    {"b2sum -l 256", "-a blake2b -l 256", true},
    {"b2sum -l 8", "-a blake2b --length 8", true},
    {"xxhsum -H1", "-a xxh64", false},
    {"xxhsum -H3", "-a xxh3", false},
    {"xxhsum -H2", "-a xxh128", false},
};

// The names, then standard input alone (xxhsum reads it only when no file is named), in each
// layout the program has; xxhsum has no -z and no -b. What xxhsum writes to standard error is a
// progress line of its own.
TEST_F(CliDigestsTest, EachDigestsLinesEqualItsOwnProgramsForOddNamesAndStandardInput) {
    for (const Program& program : kPrograms) {
        std::vector<std::string> layouts = {"", " --tag"};
        if (program.coreutils) {
            layouts.insert(layouts.end(), {" -z", " --tag -z", " -b"});
        }
        for (const std::string& layout : layouts) {
            const std::string theirs = std::string(program.command) + layout;
            const std::string ours = "\"$CLI\" " + std::string(program.options) + layout;
            const auto run = [this](const std::string& command, const std::string& err) {
                return Shell(command + " -- \"$@\" 2>" + err + " && " + command + " < abc");
            };
            const rizo::test::ShellOutcome own = run(theirs, "/dev/null");
            const rizo::test::ShellOutcome cli = run(ours, "&2");
            EXPECT_EQ(cli.out, own.out) << theirs;
            EXPECT_EQ(cli.status, own.status) << theirs;
            EXPECT_EQ(cli.err, "") << theirs;
        }
    }
}

// Upper case changes only the digests of the program's own lines, which its check still passes,
// in binary mode too. xxhsum writes names unescaped, so a name with a line break would not read
// back.
TEST_F(CliDigestsTest, UpperCaseLinesAreTheProgramsOwnInUpperCaseAndPassItsCheck) {
    const std::string upper =
        " | LC_ALL=C sed -E 's/^(\\\\?)([0-9a-f]+) /\\1\\U\\2 /; s/= ([0-9a-f]+)$/= \\U\\1/'";
    for (const Program& program : kPrograms) {
        const std::string files = program.coreutils ? "\"$@\"" : "abc 'sp ace' -dash";
        const std::string checker = program.coreutils ? program.command : "xxhsum";
        const std::string cli = "\"$CLI\" " + std::string(program.options) + " --upper ";
        const rizo::test::ShellOutcome check =
            Shell(cli + "-- " + files + " > .sums && " + program.command + " -- " + files +
                  " 2>/dev/null" + upper + " | cmp - .sums && " + cli + "-b abc >> .sums && " +
                  checker + " --strict -c .sums > /dev/null 2>&1");
        EXPECT_EQ(check.status, 0) << program.command << check.out;
    }
}

// The others are still hashed; coreutils' programs word the failures as this program does, xxhsum
// its own way.
TEST_F(CliDigestsTest, FilesThatCannotBeReadFailAsInEachDigestsOwnProgram) {
    ASSERT_EQ(mkdir((dir + "/folder").c_str(), 0700), 0);
    const std::string files = " -- abc missing folder 'sp ace'";
    for (const Program& program : kPrograms) {
        const rizo::test::ShellOutcome theirs = Shell(program.command + files);
        const rizo::test::ShellOutcome ours =
            Shell("\"$CLI\" " + std::string(program.options) + files);
        EXPECT_EQ(ours.out, theirs.out) << program.command;
        EXPECT_EQ(ours.status, theirs.status) << program.command;
        if (program.coreutils) {
            const std::string name =
                std::string(program.command).substr(0, std::string(program.command).find(' '));
            EXPECT_EQ(std::regex_replace(ours.err, std::regex("(^|\n)rizodidiz-cli: "),
                                         "$1" + name + ": "),
                      theirs.err);
        }
    }
}

// Several digests give each file one line per digest, in the program's digest order, each the
// line its own program writes with --tag; -a and the digest options add up.
TEST_F(CliDigestsTest, SeveralDigestsGiveEachFileTheTagLineOfEachDigestsProgram) {
    const rizo::test::ShellOutcome own = Shell(
        "for f; do sha1sum --tag -- \"$f\" && sha512sum --tag -- \"$f\" && "
        "b2sum -l 160 --tag -- \"$f\" && xxhsum -H1 --tag -- \"$f\" && "
        "xxhsum -H2 --tag -- \"$f\"; done 2>/dev/null");
    const rizo::test::ShellOutcome cli =
        Shell("\"$CLI\" -a xxh128,sha512 --sha1 -l 160 -a blake2b,xxh64 -- \"$@\"");
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(cli.out, own.out);
    EXPECT_EQ(cli.status, 0) << cli.err;
}

}  // namespace
