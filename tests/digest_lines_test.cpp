// SPDX-License-Identifier: MIT
// The lines rizodidiz-cli writes for each digest, beside those of the digest's own program, and
// the SFV names it refuses because they would not read back.
#include "cli/digest_lines.h"

#include <gtest/gtest.h>

#include <regex>

#include "cli/digest_names.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

TEST(DigestLines, SfvWritesOnlyNamesThatReadBack) {
    FileEntry entry;
    entry.crc32 = "352441c2";
    const std::pair<std::string, bool> cases[] = {
        {"abc", true},
        {"a b;c", true},
        {"#abc", false},
        {";abc", false},
        {"abc ", true},
        {"new\nline", false},
        {"\xEF\xBB\xBF"
         "abc",
         false},
    };
    for (const auto& [name, written] : cases) {
        const std::optional<std::string> line =
            DigestLines(name, {false, false, true, false}, entry, {.layout = LineLayout::kSfv});
        EXPECT_EQ(line, written ? std::optional(name + " 352441c2\n") : std::nullopt) << name;
    }
}

// A digest's program, as it is run for its lines.
struct Program {
    const char* command;
    const char* algorithm;
    int bits;
    bool zero;  // writes NUL-ended lines with -z
};

// Each file's digest as `program` gives it reading the file on standard input.
std::vector<FileEntry> OwnDigests(const Program& program, const std::string& dir,
                                  const std::vector<std::string>& names) {
    const std::regex hexOfInput("(^|= )([0-9a-f]+)(  -|  stdin)?\n$");
    std::vector<FileEntry> entries(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const test::ShellOutcome own = test::RunShell(
            dir, std::string(program.command) + " < " + test::Quoted(names[i]) + " 2>/dev/null",
            false);
        std::smatch hex;
        EXPECT_TRUE(std::regex_search(own.out, hex, hexOfInput)) << program.command << own.out;
        entries[i].*FindDigest(program.algorithm)->text = hex.str(2);
    }
    return entries;
}

// The lines are made from each program's own digests and compared whole with what it writes for
// the names, then for standard input alone (xxhsum reads it only when no file is named).
TEST(DigestLines, EachDigestsLinesEqualItsOwnProgramsForOddNamesAndStandardInput) {
    test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
    const std::vector<std::string> names = {"-dash",         "abc",        "back\\slash",
                                            "both\\\nbreak", "cr\rreturn", "new\nline",
                                            "sp ace",        "\xFF\xFE"};
    std::string quotedNames;
    for (const std::string& name : names) {
        temp.File(name, "bytes of " + name);
        quotedNames += " " + test::Quoted(name);
    }
    const Program programs[] = {
        {"sha224sum", "sha224", 512, true},     {"sha384sum", "sha384", 512, true},
        {"sha512sum", "sha512", 512, true},     {"b2sum", "blake2b", 512, true},
        {"b2sum -l 256", "blake2b", 256, true}, {"b2sum -l 8", "blake2b", 8, true},
        {"xxhsum -H1", "xxh64", 512, false},    {"xxhsum -H3", "xxh3", 512, false},
        {"xxhsum -H2", "xxh128", 512, false},
    };
    for (const Program& program : programs) {
        HashSelection selection{false, false, false, false};
        selection.*FindDigest(program.algorithm)->chosen = true;
        selection.blake2bBits = program.bits;
        const std::vector<FileEntry> entries = OwnDigests(program, dir, names);
        for (const auto& [tag, zero] :
             {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
            if (zero && !program.zero) {
                continue;
            }
            const std::string command =
                std::string(program.command) + (tag ? " --tag" : "") + (zero ? " -z" : "");
            const test::ShellOutcome theirs = test::RunShell(
                dir, command + " --" + quotedNames + " 2>/dev/null && " + command + " < abc",
                false);
            const LineForm form{.layout = tag ? LineLayout::kTag : LineLayout::kStandard,
                                .zero = zero,
                                .binary = tag};
            std::string ours;
            for (std::size_t i = 0; i < names.size(); ++i) {
                ours += DigestLines(names[i], selection, entries[i], form).value_or("");
            }
            ours += DigestLines("-", selection, entries[1], form).value_or("");
            EXPECT_EQ(theirs.status, 0) << command;
            EXPECT_EQ(ours, theirs.out) << command;
        }
    }
}

}  // namespace
}  // namespace rizo
