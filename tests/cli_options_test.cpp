// SPDX-License-Identifier: MIT
// The digests rizodidiz-cli's -a and -l choose, and the names and lengths they refuse.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/digest_names.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

std::set<std::string> ChosenNames(const HashSelection& selection) {
    std::set<std::string> names;
    for (const DigestName& digest : kDigestNames) {
        if (selection.*digest.fields.chosen) {
            names.emplace(digest.algorithm);
        }
    }
    return names;
}

TEST(CliOptions, AlgorithmNamesChooseTheirDigestsBesideTheDigestOptions) {
    struct Case {
        std::vector<std::string> arguments;
        std::set<std::string> chosen;
        int blake2bBits;
    };
    const Case cases[] = {
        {{}, {"md5"}, 512},
        {{"-a", "sha512"}, {"sha512"}, 512},
        {{"-asha384"}, {"sha384"}, 512},
        {{"--algorithm=xxh3,xxh128", "--md5"}, {"md5", "xxh3", "xxh128"}, 512},
        {{"--alg", "sha224,sha224", "--sha256"}, {"sha224", "sha256"}, 512},
        {{"-a", "sha1", "-a", "blake2b", "-l", "256"}, {"sha1", "blake2b"}, 256},
        {{"-l", "8", "-a", "crc32,blake2b"}, {"crc32", "blake2b"}, 8},
        {{"-a", "blake2b", "--length=0"}, {"blake2b"}, 512},
        {{"-a", "blake2b", "-l", "128", "-l", "64"}, {"blake2b"}, 64},
        {{"-a", "xxh64", "--all"}, {"md5", "sha1", "crc32", "sha256", "xxh64"}, 512},
        {{"--all", "-a", "md5,sha1,crc32,sha256,sha224,sha384,sha512,blake2b,xxh64,xxh3,xxh128"},
         {"md5", "sha1", "crc32", "sha256", "sha224", "sha384", "sha512", "blake2b", "xxh64",
          "xxh3", "xxh128"},
         512},
    };
    for (const Case& c : cases) {
        CliOptions options;
        std::string error;
        ASSERT_TRUE(ParseArguments(c.arguments, options, error)) << c.arguments.size() << error;
        EXPECT_EQ(ChosenNames(options.selection), c.chosen) << c.arguments.size();
        EXPECT_EQ(options.selection.blake2bBits, c.blake2bBits) << c.arguments.size();
    }
}

// Each refusal names what it refuses; cksum takes no abbreviated or upper-case name.
TEST(CliOptions, UnknownNamesAndMisplacedLengthsAreRefused) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-a", "SHA256"}, "'SHA256'"},
        {{"-a", ""}, "''"},
        {{"-a", "md5,"}, "''"},
        {{"-a", ",md5"}, "''"},
        {{"-a", "bl"}, "'bl'"},
        {{"-a", "crc"}, "'crc'"},
        {{"-a", "sha256 "}, "'sha256 '"},
        {{"-l", "256"}, "--length"},
        {{"-a", "sha512", "-l", "256"}, "--length"},
        {{"-c", "-a", "sha512"}, "--check"},
        {{"-c", "-l", "256"}, "--check"},
        {{"--records", "-a", "sha1"}, "--records"},
        {{"--sfv", "-a", "xxh64"}, "--sfv"},
        {{"--sfv", "-a", "crc32,blake2b"}, "--sfv"},
    };
    for (const auto& [arguments, named] : cases) {
        CliOptions options;
        std::string error;
        EXPECT_FALSE(ParseArguments(arguments, options, error)) << named;
        EXPECT_NE(error.find(named), std::string::npos) << error;
    }
    CliOptions options;
    std::string error;
    EXPECT_TRUE(ParseArguments({"--sfv", "-a", "crc32"}, options, error)) << error;
}

// b2sum on an empty file accepts a length when its line holds a digest of that many bits; it
// refuses the others, saying why where it does.
TEST(CliOptions, LengthsAreAcceptedAndRefusedAsB2sumTakesThem) {
    test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
    for (const std::string length :
         {"8", "+8", " 16", "08", "0", "512", "504", "7", "1023", "520", "1000", "abc", "-8",
          "0x10", "", "8 ", "8k", "99999999999999999999", "18446744073709551608"}) {
        const test::ShellOutcome theirs =
            test::RunShell(dir, "LC_ALL=C b2sum -l " + test::Quoted(length) + " /dev/null", false);
        CliOptions options;
        std::string error;
        const bool ours = ParseArguments({"-a", "blake2b", "-l", length}, options, error);
        ASSERT_EQ(ours, theirs.status == 0) << length << theirs.err << error;
        if (ours) {
            EXPECT_EQ(static_cast<int>(theirs.out.find(' ')) * 4, options.selection.blake2bBits)
                << length;
            continue;
        }
        EXPECT_NE(error.find("'" + length + "'"), std::string::npos) << error;
        for (const char* reason : {"multiple of 8", "512 bits"}) {
            EXPECT_EQ(error.find(reason) == std::string::npos,
                      theirs.err.find(reason) == std::string::npos)
                << length << ": " << error << " / " << theirs.err;
        }
    }
}

}  // namespace
}  // namespace rizo
