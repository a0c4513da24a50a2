// SPDX-License-Identifier: MIT
// rizodidiz-cli's digests beyond the window's four, beside the lines of each digest's own program.
#include <gtest/gtest.h>

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

// The names, then standard input alone (xxhsum reads it only when no file is named), in each
// layout the program has; xxhsum has no -z and no -b. What xxhsum writes to standard error is a
// progress line of its own.
TEST_F(CliDigestsTest, EachDigestsLinesEqualItsOwnProgramsForOddNamesAndStandardInput) {
    struct Program {
        const char* command;
        const char* options;
        bool coreutils;
    };
    const Program programs[] = {
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
    for (const Program& program : programs) {
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
