// SPDX-License-Identifier: MIT
// rizodidiz-cli --check of the lists sha224sum, sha384sum, sha512sum, b2sum and xxhsum write,
// against those programs' own checks of the same lists and files, run side by side as an
// unprivileged user; and the window's verdicts on a list mixing them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include "engine/digest_engine.h"
#include "tests/checker_runs.h"
#include "tests/temp_folder.h"
#include "verify/verification.h"

namespace {

using Outcome = rizo::test::ShellOutcome;

class ChecksumFormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
        // Each list: every file, then a line no checker reads; the files then change: one
        // corrupt, one unreadable, one gone.
        const std::string files =
            "plain 'with space' 'back\\slash' co:lon \"$(printf 'caf\\303\\251')\" "
            "corrupt unreadable gone";
        const std::string setup =
            "for f in " + files + "; do printf '%s' \"$f\" > \"$f\"; done && F=\"" + files +
            "\" && "
            "eval sha224sum -- $F > SHA224SUMS && eval sha384sum --tag -- $F > SHA384TAGS && "
            "eval sha512sum -- $F > SHA512SUMS && eval b2sum -- $F > B2SUMS && "
            "eval b2sum -l 256 -- $F > l256.b2 && eval b2sum --tag -l 160 -- $F > B2TAGS && "
            "eval xxhsum -H1 $F > x.xxh64 && eval xxhsum -H2 $F > x.xxh128 && "
            "eval xxhsum -H3 $F > x.xxh3 && eval xxhsum -H1 --tag $F > tag.xxh64 && "
            "eval xxhsum -H2 --tag $F > tag.xxh128 && "
            "for l in SHA224SUMS SHA384TAGS SHA512SUMS B2SUMS l256.b2 B2TAGS x.xxh64 x.xxh128 "
            "x.xxh3 tag.xxh64 tag.xxh128; do echo 'not a checksum line' >> $l; done && "
            "printf x >> corrupt && chmod 0 unreadable && rm gone && printf 'junk\\n' > "
            "junk.xxh128";
        ASSERT_EQ(Run(setup, false).status, 0);
    }

    Outcome Run(const std::string& command, bool unprivileged = true) const {
        return rizo::test::RunWithCli(dir, command, unprivileged);
    }

    void ExpectSameAs(const std::string& tool, const std::string& arguments) const {
        rizo::test::ExpectSameAs(dir, tool, arguments);
    }

    rizo::test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
};

// A FAILED line, a missing and an unreadable file and an improper line in each list, with each
// option the reference checker has.
TEST_F(ChecksumFormatsTest, EachProgramsListsAreCheckedAsThatProgramChecksThem) {
    struct Input {
        const char* tool;
        const char* list;
    };
    const Input inputs[] = {
        {"sha224sum", "SHA224SUMS"}, {"sha384sum", "SHA384TAGS"}, {"sha512sum", "SHA512SUMS"},
        {"b2sum", "B2SUMS"},         {"b2sum", "l256.b2"},        {"b2sum", "B2TAGS"},
        {"xxhsum", "x.xxh64"},       {"xxhsum", "x.xxh128"},      {"xxhsum", "x.xxh3"},
        {"xxhsum", "tag.xxh64"},     {"xxhsum", "tag.xxh128"},    {"xxhsum", "junk.xxh128"},
    };
    for (const Input& input : inputs) {
        for (const char* options : {"", "--quiet", "--status", "--warn", "--strict"}) {
            ExpectSameAs(input.tool, std::string("-c ") + options + " " + input.list);
        }
    }
    ExpectSameAs("b2sum", "-c --ignore-missing B2SUMS");
    ExpectSameAs("b2sum", "-c B2SUMS l256.b2 B2TAGS l256.b2 B2SUMS");
    ExpectSameAs("xxhsum", "-c x.xxh128 tag.xxh64");
    ExpectSameAs("xxhsum", "-c - < x.xxh64");
}

// 128 hex digits are SHA512 or BLAKE2b-512, 32 MD5 or XXH128: the list's name decides where it
// says which, as the program of that name would; elsewhere either digest meets the line.
TEST_F(ChecksumFormatsTest, AnUntaggedLineOfTwoDigestsLengthIsReadAsTheListsNameSaysOrAsEither) {
    ASSERT_EQ(Run("b2sum plain > B2.sha512 && sha512sum plain > SHA.b2 && "
                  "md5sum plain > XXH.xxh128 && xxhsum -H2 plain > MD5SUMS && "
                  "{ b2sum plain; sha512sum co:lon; } > sums && "
                  "{ md5sum plain; xxhsum -H2 co:lon; } > sums32 && "
                  "{ b2sum -l 256 plain; b2sum plain; b2sum --tag -l 160 plain; b2sum co:lon; "
                  "b2sum -l 256 co:lon; } > mix.b2",
                  false)
                  .status,
              0);
    ExpectSameAs("sha512sum", "-c B2.sha512");
    ExpectSameAs("b2sum", "-c SHA.b2");
    ExpectSameAs("xxhsum", "-c XXH.xxh128");
    ExpectSameAs("md5sum", "-c MD5SUMS");
    // Each BLAKE2b length a file is listed with, also on consecutive lines.
    ExpectSameAs("b2sum", "-c mix.b2");
    for (const char* list : {"sums", "sums32"}) {
        const Outcome ours = Run("\"$CLI\" -c " + std::string(list));
        EXPECT_EQ(ours.out, "plain: OK\nco:lon: OK\n") << list;
        EXPECT_EQ(ours.err, "") << list;
        EXPECT_EQ(ours.status, 0) << list;
    }
}

// The window's verdicts on one list of many programs' lines: the digest that met a line either of
// two could is named.
TEST_F(ChecksumFormatsTest, TheWindowJudgesAMixedListAndNamesTheDigestThatMatched) {
    ASSERT_EQ(
        Run("{ b2sum plain; sha512sum co:lon; md5sum 'with space'; xxhsum -H2 'back\\slash'; "
            "xxhsum -H1 --tag SHA224SUMS; xxhsum -H3 SHA384TAGS; sha224sum --tag B2SUMS; "
            "b2sum --tag l256.b2; sha384sum corrupt; sha512sum x.xxh64; } > mixed && "
            "printf x >> corrupt && printf x >> x.xxh64 && printf '%0128d  gone\\n' 0 >> mixed",
            false)
            .status,
        0);
    rizo::Verification verification({dir + "/mixed"});
    const std::atomic<bool> cancelled = false;
    verification.Read(cancelled);
    std::vector<std::string> paths;
    verification.AppendPaths(paths);
    verification.IndexPaths(paths);
    std::vector<int32_t> rows(paths.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row] = static_cast<int32_t>(row);
    }
    verification.Bind(rows);
    rizo::DigestEngine engine;
    ASSERT_TRUE(engine.AcquireProvider(false, false));
    std::string verdicts;
    for (std::size_t row = 0; row < paths.size(); ++row) {
        rizo::FileEntry entry;
        if (engine.Open(paths[row], verification.Needed())) {
            float percent = 0;
            for (bool atEnd = false; !atEnd;) {
                engine.ReadNext(percent, atEnd);
            }
            engine.TakeDigestTexts(entry, false);
            entry.outcome = rizo::FileOutcome::kRead;
        } else {
            entry.errorNumber = errno;
        }
        const std::string name = paths[row].substr(dir.size() + 1);
        verdicts += name + ": " + verification.Judge(rows[row], entry).value_or("none") + "\n";
    }
    EXPECT_EQ(verdicts,
              "plain: OK (BLAKE2b)\nco:lon: OK (SHA512)\nwith space: OK (MD5)\n"
              "back\\slash: OK (XXH128)\nSHA224SUMS: OK\nSHA384TAGS: OK\nB2SUMS: OK\n"
              "l256.b2: OK\ncorrupt: FAILED\nx.xxh64: FAILED\ngone: MISSING\n");
    EXPECT_EQ(verification.Summary(), "2 FAILED, 1 MISSING, 8 OK");
}

}  // namespace
