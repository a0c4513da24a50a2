// SPDX-License-Identifier: MIT
// rizodidiz-cli --check against coreutils' own checkers on the same files, run side by side as an
// unprivileged user, so that a file without read permission stays unreadable also under root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "engine/digest_engine.h"
#include "export/save_selection.h"
#include "filelist/file_table.h"
#include "tests/checker_runs.h"
#include "tests/temp_folder.h"
#include "verify/verification.h"

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
        return rizo::test::RunWithCli(dir, command, unprivileged);
    }

    void ExpectSameAs(const std::string& tool, const std::string& arguments,
                      const std::string& locale = "C.UTF-8") const {
        rizo::test::ExpectSameAs(dir, tool, arguments, locale);
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

// Our own several-digest output lists each file four times; each line is still answered, also
// when a second list answers them from the first one's reads.
TEST_F(ChecksumCheckTest, AllDigestsOfAFileAreCheckedFromOneList) {
    ASSERT_EQ(Run("\"$CLI\" --all plain corrupt > ALL && printf x >> corrupt", false).status, 0);
    std::string expected;
    for (const char* verdict : {"OK", "OK", "OK", "OK", "FAILED", "FAILED", "FAILED", "FAILED"}) {
        expected += std::string(expected.size() < 32 ? "plain" : "corrupt") + ": " + verdict + "\n";
    }
    const std::string warning = "rizodidiz-cli: WARNING: 4 computed checksums did NOT match\n";
    for (const auto& [lists, times] : {std::pair{"ALL", 1}, std::pair{"ALL ALL", 2}}) {
        const Outcome checked = Run("\"$CLI\" -c " + std::string(lists), false);
        EXPECT_EQ(checked.status, 1) << lists;
        EXPECT_EQ(checked.out, times == 1 ? expected : expected + expected) << lists;
        EXPECT_EQ(checked.err, times == 1 ? warning : warning + warning) << lists;
    }
}

// SFV lists of names that read as something else in other forms, checked file by file beside
// cksfv -f on the same files; the window's reading of them lists the same files.
TEST_F(ChecksumCheckTest, SfvListsAsCksfvWhateverTheNames) {
    const std::vector<std::string> names = {"SHA1.txt",
                                            "MD5SUMS",
                                            "CRC32.bin",
                                            "SHA256 notes",
                                            "deadbeef",
                                            "0123456789abcdef0123456789abcdef",
                                            "fedcba9876543210fedcba9876543210fedcba98",
                                            std::string(64, 'e'),
                                            "plain name"};
    std::string make = "mkdir sfv && cd sfv";
    for (const std::string& name : names) {
        make += " && printf %s " + Quoted(name) + " > " + Quoted(name);
    }
    // A list with cksfv's comments, then the same without them; one file changed, one gone.
    make +=
        " && cksfv -b -- * > ../full && grep -v '^;' ../full > ../bare && printf x >> MD5SUMS && "
        "rm CRC32.bin && cp ../full list.sfv && cp ../full list.txt && cp ../bare bare.sfv && "
        "grep -E '^[0-9a-f]+ ' ../bare > hexnames.sfv && cp ../bare bare.txt && "
        "grep '^;' ../full | cat - hexnames.sfv > hexnames.txt";
    ASSERT_EQ(Run(make, false).status, 0);
    for (const char* list :
         {"list.sfv", "list.txt", "bare.sfv", "hexnames.sfv", "bare.txt", "hexnames.txt"}) {
        const Outcome theirs = Run("cd sfv && cksfv -f " + std::string(list));
        const Outcome ours = Run("cd sfv && \"$CLI\" -c " + std::string(list));
        EXPECT_EQ(ours.status, theirs.status) << list;
        std::vector<std::string> listed;
        for (const std::string& name : names) {
            const std::size_t at = theirs.err.find("\n" + name + " ");
            if (at == std::string::npos) {
                EXPECT_EQ(ours.out.find(name + ":"), std::string::npos) << list << " " << name;
                continue;
            }
            listed.push_back(dir + "/sfv/" + name);
            std::string word = theirs.err.substr(at + name.size() + 2);
            word = word.substr(word.find_first_not_of(' '));
            word.erase(word.find('\n'));
            const std::string verdict = word == "OK"              ? "OK"
                                        : word == "different CRC" ? "FAILED"
                                                                  : "FAILED open or read";
            EXPECT_NE(ours.out.find(name + ": " + verdict + "\n"), std::string::npos)
                << list << " " << name << ": " << word << "\n"
                << ours.out;
        }
        rizo::Verification window({dir + "/sfv/" + list});
        window.Read(std::atomic<bool>(false));
        std::vector<std::string> paths;
        window.AppendPaths(paths);
        std::sort(paths.begin(), paths.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(paths, listed) << list;
    }
}

// Lists on standard input, ';' lines, a name and a comment past any path limit, a device, and
// --warn about more bad lines than are held waiting for the first proper one, beside sha256sum.
TEST_F(ChecksumCheckTest, OddLinesAndEntriesAsCoreutils) {
    const std::string make =
        "printf '; not a comment in a GNU list\\n' > SEMICOLON && cat SHA256SUMS >> SEMICOLON && "
        "{ printf '%064d  %09000d\\n' 0 0; printf '\\\\%064d  ' 0; printf '%03000d' 0 | "
        "tr 0 '\\\\' | sed 's/\\\\/\\\\\\\\/g'; printf '\\\\n\\n#'; printf '%020000d\\n' 0; "
        "sha256sum plain /dev/null; } > LONG && "
        "{ yes junk | head -n 70000; sha256sum plain; "
        "echo junk; } > MANYBAD && sha256sum plain > PLAIN && printf '\\n# c\\n' >> PLAIN";
    ASSERT_EQ(Run(make, false).status, 0);
    for (const char* arguments :
         {"-c SEMICOLON", "-c --strict SEMICOLON", "-c --warn SEMICOLON", "-c LONG",
          "-c --strict LONG", "-c --warn LONG", "-c --warn MANYBAD", "-c --strict MANYBAD",
          "-c - < SHA256SUMS", "-c PLAIN < plain", "-c --strict - < PLAIN"}) {
        ExpectSameAs("sha256sum", arguments);
    }
}

// Standard input cannot be both a list and a file listed: that line fails (sha256sum calls it
// improperly formatted and may exit 0), the others are checked as sha256sum checks them.
TEST_F(ChecksumCheckTest, StandardInputListedAsAFileFailsWhileItHoldsAList) {
    ASSERT_EQ(Run("sha256sum plain corrupt > NODASH && cp NODASH DASH && "
                  "printf '%s  -\\n' $(sha256sum < plain | cut -c1-64) >> DASH && "
                  "printf '%s  abc\\n' $(printf abc | sha256sum | cut -c1-64) >> DASH && "
                  "printf abc > abc && sed -n 3p DASH >> NODASH && sed -n 4p DASH >> NODASH && "
                  "sed -i 3d NODASH",
                  false)
                  .status,
              0);
    const Outcome theirs = Run("sha256sum -c - < NODASH");
    std::string dash = theirs.out;
    dash.insert(dash.find("abc: "), "-: FAILED open or read\n");
    // Also where the list on standard input is another one.
    for (const auto& [arguments, expected] :
         {std::pair{"- < DASH", dash}, std::pair{"- DASH < NODASH", theirs.out + dash}}) {
        const Outcome ours = Run("\"$CLI\" -c " + std::string(arguments));
        EXPECT_EQ(ours.out, expected) << arguments;
        EXPECT_EQ(ours.status, 1) << arguments;
        EXPECT_NE(ours.err.find("rizodidiz-cli: -: standard input is the checksum list\n"),
                  std::string::npos)
            << arguments << ": " << ours.err;
    }
}

// Each checker's lists in turn, as one run of ours over all of them prints them: the outputs one
// after the other, the names of the programs alike, failure when any failed.
Outcome Concatenated(const std::vector<Outcome>& runs) {
    Outcome all{0, {}, {}};
    for (Outcome run : runs) {
        for (const char* tool : {"md5sum:", "sha256sum:"}) {
            for (std::size_t at = 0; (at = run.err.find(tool, at)) != std::string::npos;) {
                run.err.replace(at, std::strlen(tool), "rizodidiz-cli:");
            }
        }
        all = {std::max(all.status, run.status), all.out + run.out, all.err + run.err};
    }
    return all;
}

// The first line where `ours` differs from `theirs`, beside theirs; empty when they are equal.
std::string FirstDifference(const std::string& ours, const std::string& theirs) {
    std::istringstream oursLines(ours);
    std::istringstream theirLines(theirs);
    for (int number = 1; oursLines || theirLines; ++number) {
        std::string our;
        std::string their;
        std::getline(oursLines, our);
        std::getline(theirLines, their);
        if (our != their || oursLines.eof() != theirLines.eof()) {
            return "line " + std::to_string(number) + ": ours '" + our + "', theirs '" + their +
                   "'";
        }
    }
    return {};
}

// The bytes the traced run read from files named `name`, by strace -y's lines, one a call.
uint64_t BytesRead(const std::string& trace, const std::string& name) {
    uint64_t bytes = 0;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t result = line.rfind(") = ");
        if (line.find("/" + name + ">, ") != std::string::npos && result != std::string::npos) {
            bytes += std::strtoull(line.c_str() + result + 4, nullptr, 10);
        }
    }
    return bytes;
}

// Files named by two lists, or twice in one list with more than a batch of lines between (MD5
// lines first, or SHA256 lines first), are read once, and each list reads as its own checker reads
// it; also where a list comes on standard input, from a file or a pipe, or through a named pipe.
// The files read are larger than any read ahead, so their bytes are read once whatever the engine
// does ahead.
TEST_F(ChecksumCheckTest, AFileNamedByManyLinesOrListsIsReadOnceAndEachLineAnsweredAsCoreutils) {
    ASSERT_EQ(Run("head -c 300000 /dev/urandom > one && head -c 400000 /dev/urandom > two && "
                  "md5sum one two >> MD5SUMS && sha256sum two one >> SHA256SUMS && "
                  "md5sum one two plain unreadable > M && printf '%032d  gone\\n' 0 >> M && "
                  "sha256sum unreadable two plain one > S && printf '%064d  gone\\n' 0 >> S && "
                  "printf x >> two && seq -f 'z%04.0f' 1100 | xargs touch && md5sum z* > F && "
                  "cat M F > MF && cat F M > FM && cat MF S > MFS && cat S FM > SFM && mkfifo -m "
                  "666 PIPE",
                  false)
                  .status,
              0);
    struct Case {
        std::string arguments;  // of a check of ours, with a redirection
        std::vector<std::string> theirs;
        bool sameErrors = true;  // false where ours sums up what two of theirs tell apart
    };
    const std::vector<Case> cases = {
        {"MD5SUMS SHA256SUMS", {"md5sum -c MD5SUMS", "sha256sum -c SHA256SUMS"}},
        {"--quiet --ignore-missing SHA256SUMS MD5SUMS",
         {"sha256sum -c --quiet --ignore-missing SHA256SUMS",
          "md5sum -c --quiet --ignore-missing MD5SUMS"}},
        {"MFS", {"md5sum -c MF", "sha256sum -c S"}, false},
        {"SFM", {"sha256sum -c S", "md5sum -c FM"}, false},
        {"- SHA256SUMS < MD5SUMS", {"md5sum -c - < MD5SUMS", "sha256sum -c SHA256SUMS"}},
        {"SHA256SUMS - < MD5SUMS", {"sha256sum -c SHA256SUMS", "md5sum -c - < MD5SUMS"}},
        {"- S < MF", {"md5sum -c - < MF", "sha256sum -c S"}},
        {"S - < FM", {"sha256sum -c S", "md5sum -c - < FM"}},
    };
    for (const bool throughPipes : {false, true}) {
        for (const Case& check : cases) {
            std::string arguments = check.arguments;
            if (throughPipes) {
                // Standard input from a pipe, or the last list through a named pipe; neither side
                // of the named pipe may wait for the other for ever.
                const std::size_t from = arguments.find(" < ");
                const std::size_t last = arguments.rfind(' ') + 1;
                const std::string list =
                    from != std::string::npos ? arguments.substr(from + 3) : arguments.substr(last);
                arguments = (from != std::string::npos ? arguments.substr(0, from) + " < "
                                                       : arguments.substr(0, last)) +
                            "PIPE & timeout 60 sh -c 'cat " + list + " > PIPE'; wait $!";
            }
            std::vector<Outcome> runs;
            for (const std::string& theirs : check.theirs) {
                runs.push_back(Run("LC_ALL=C " + theirs));
            }
            const Outcome expected = Concatenated(runs);
            const Outcome outcome =
                Run("LC_ALL=C ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "
                    "timeout 60 strace -ff -qq -y -o TRACE "
                    "-e trace=read,pread64,preadv,preadv2 \"$CLI\" -c " +
                    arguments + "; s=$?; cat TRACE.* > TRACE; rm TRACE.*; exit $s");
            const std::string trace = rizo::test::ReadText(dir + "/TRACE");
            EXPECT_EQ(FirstDifference(outcome.out, expected.out), "") << arguments;
            if (check.sameErrors) {
                EXPECT_EQ(FirstDifference(outcome.err, expected.err), "") << arguments;
            }
            EXPECT_EQ(outcome.status, expected.status) << arguments;
            EXPECT_EQ(BytesRead(trace, "one"), 300000U) << arguments;
            EXPECT_EQ(BytesRead(trace, "two"), 400001U) << arguments;
        }
    }
}

// The window's rows for `names` in `folder`, hashed, all selected, as its Save writes them.
rizo::FileTable HashedRows(const std::string& folder, const std::vector<std::string>& names) {
    rizo::DigestEngine engine;
    EXPECT_TRUE(engine.AcquireProvider(false, false));
    rizo::FileTable rows;
    for (const std::string& name : names) {
        const int row = rows.InsertRow(name);
        EXPECT_TRUE(engine.Open(folder + name, {true, true, true, true})) << name;
        float progress = 0;
        for (bool atEnd = false; !atEnd;) {
            engine.ReadNext(progress, atEnd);
        }
        rows.SetCellText(row, rizo::kColMd5, engine.DigestText(rizo::kCalgMd5, false));
        rows.SetCellText(row, rizo::kColSha1, engine.DigestText(rizo::kCalgSha1, false));
        rows.SetCellText(row, rizo::kColCrc32, engine.CrcText(true));
        rows.SetCellText(row, rizo::kColSha256, engine.DigestText(rizo::kCalgSha256, true));
        rows.SetCellText(row, rizo::kColFullPath, folder + name);
        rows.SetSelected(row, true);
    }
    return rows;
}

// A name with a backslash and a line break, beside the file its second line names: every layout
// the program writes, from the command line and from the window's Save, either lists the file so
// that -c checks that file (OK, then FAILED once it changed) or cannot be read back at all; none
// makes -c answer for the other file. Where coreutils reads the layout it agrees.
TEST_F(ChecksumCheckTest, ANameWithALineBreakRoundTripsInEveryLayoutOrIsNeverOk) {
    const std::string name = "a\\b\nnl.txt";
    rizo::test::WriteText(dir + "/" + name, "real");
    rizo::test::WriteText(dir + "/nl.txt", "decoy");
    struct Layout {
        std::string written;  // the list's name, written before the checks
        int okLines;          // lines -c prints for the file, 0 where the layout cannot be read
        const char* coreutils = nullptr;
        bool fullPath = false;  // the file is listed by its full path
    };
    const std::vector<std::pair<std::string, Layout>> commands = {
        {"--md5", {"md5", 1, "md5sum"}},
        {"--sha1", {"sha1", 1, "sha1sum"}},
        {"--sha256", {"sha256", 1, "sha256sum"}},
        {"--tag --sha256", {"tag", 1, "sha256sum"}},
        {"--crc32", {"crc", 1}},
        {"--all", {"all", 4}},
        {"--sfv", {"cli.sfv", 0}},
        {"--records --delimiter 0", {"block", 1}},
        {"--records --delimiter 0 --include folder", {"blockpath", 1, nullptr, true}},
        {"--records --delimiter 1", {"tabs", 0}},
        {"--records --delimiter 1 --include ''", {"tabsnothing", 0}},
        {"--records --delimiter 2", {"lines", 0}},
    };
    std::vector<Layout> layouts;
    for (const auto& [options, layout] : commands) {
        const Outcome made = Run("XDG_CONFIG_HOME=\"$PWD\" \"$CLI\" " + options + " -- " +
                                     Quoted(name) + " > " + layout.written,
                                 false);
        EXPECT_EQ(made.status, options == "--sfv" ? 1 : 0) << options << made.err;
        layouts.push_back(layout);
    }
    const rizo::FileTable rows = HashedRows(dir + "/", {name});
    for (const int32_t delimiter : {0, 1, 2}) {
        rizo::ProgramSettings settings;
        settings.HashMD5 = settings.HashCRC32 = true;
        settings.IncFolder = delimiter == 0;
        settings.DelimiterType = delimiter;
        std::string error;
        layouts.push_back({"window" + std::to_string(delimiter), delimiter == 0 ? 2 : 0, nullptr,
                           delimiter == 0});
        ASSERT_TRUE(rizo::SaveSelection(rows, settings, dir + "/" + layouts.back().written, error));
    }
    for (const auto& [format, layout] :
         {std::pair{rizo::ChecksumFormat::kMd5, Layout{"window.md5", 1, "md5sum"}},
          std::pair{rizo::ChecksumFormat::kSha1, Layout{"window.sha1", 1, "sha1sum"}},
          std::pair{rizo::ChecksumFormat::kSha256, Layout{"window.sha256", 1, "sha256sum"}},
          std::pair{rizo::ChecksumFormat::kSfv, Layout{"window.sfv", 0}}}) {
        rizo::ChecksumText skipped;
        std::string error;
        ASSERT_TRUE(
            rizo::SaveChecksumFile(rows, format, dir + "/" + layout.written, skipped, error));
        EXPECT_EQ(skipped.unwritableName, layout.okLines == 0 ? 1 : 0) << layout.written;
        layouts.push_back(layout);
    }
    for (const char* verdict : {"OK", "FAILED"}) {
        for (const Layout& layout : layouts) {
            const Outcome checked = Run("\"$CLI\" -c " + layout.written);
            std::string expected;
            for (int line = 0; line < layout.okLines; ++line) {
                expected += "\\" + (layout.fullPath ? dir + "/" : "") +
                            "a\\\\b\\nnl.txt: " + verdict + "\n";
            }
            EXPECT_EQ(checked.out, expected) << layout.written << checked.err;
            EXPECT_EQ(checked.status, expected.empty() || verdict != std::string("OK"))
                << layout.written;
            if (layout.coreutils != nullptr) {
                ExpectSameAs(layout.coreutils, "-c " + layout.written);
            }
        }
        rizo::test::WriteText(dir + "/" + name, "changed");
    }
}

}  // namespace
