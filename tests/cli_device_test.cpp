// SPDX-License-Identifier: MIT
// rizodidiz-cli and devices: a disk named is read whole or to --bytes as sha256sum and head read
// it, a folder walked never gives a device nor enters /dev, and --bytes' counts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "base/value_format.h"
#include "cli/cli_options.h"
#include "tests/loop_device.h"

namespace rizo {
namespace {

using test::Quoted;

class CliDeviceTest : public ::testing::Test {
protected:
    // Runs a shell command line in the temporary folder, `$CLI` standing for the program.
    test::ShellOutcome Shell(const std::string& command) const {
        return test::RunShell(dir, "CLI=" + Quoted(RIZO_CLI_PATH) + " && " + command, false);
    }

    test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
};

std::string SectorsOfBytes() {
    std::mt19937 generator(7);
    std::string bytes(3 * 1048576 + 3 * 512, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

// The disk's whole digest and check against sha256sum's own; --bytes against head -c piped to
// sha256sum (whose name for it, "-", is the device's here); a count past the end fails alone;
// its size is what the records show.
TEST_F(CliDeviceTest, ADiskIsReadWholeOrToBytesAsSha256sumAndHeadReadIt) {
    const std::string bytes = SectorsOfBytes();
    const test::LoopDevice loop(bytes);
    if (loop.Path().empty()) {
        GTEST_SKIP() << test::kNoLoopDevice;
    }
    const std::string device = Quoted(loop.Path());
    const std::string size = std::to_string(bytes.size());
    const auto same = [](const test::ShellOutcome& ours, const test::ShellOutcome& theirs) {
        EXPECT_EQ(ours.out, theirs.out);
        EXPECT_EQ(ours.err, theirs.err);
        EXPECT_EQ(ours.status, theirs.status);
    };
    same(Shell("\"$CLI\" --sha256 " + device), Shell("sha256sum " + device));
    Shell("sha256sum " + device + " > list");
    same(Shell("\"$CLI\" -c list"), Shell("sha256sum -c list"));
    for (const std::string& count : {std::string("1000"), std::string("1M"), size}) {
        const std::string n = count == "1M" ? "1048576" : count;
        test::ShellOutcome theirs = Shell("head -c " + n + " " + device + " | sha256sum");
        theirs.out.replace(theirs.out.size() - 2, 1, loop.Path());
        same(Shell("\"$CLI\" --sha256 --bytes " + count + " " + device), theirs);
    }
    const std::string past = std::to_string(bytes.size() + 1);
    temp.File("abc", "abc");
    const test::ShellOutcome again = Shell("\"$CLI\" --bytes " + past + " " + device + " abc");
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, "rizodidiz-cli: " + loop.Path() + ": shorter than " + past +
                             " bytes\nrizodidiz-cli: abc: shorter than " + past + " bytes\n");
    temp.File("config/Dodevovaze Rizodidiz/cfg.ini", "");
    const test::ShellOutcome records = Shell("XDG_CONFIG_HOME=" + Quoted(dir + "/config") +
                                             " \"$CLI\" --records --include size " + device);
    EXPECT_NE(records.out.find("File Size      : " + FormatFileSize(bytes.size()) + " Byte"),
              std::string::npos)
        << records.out;
}

// A folder walked gives neither the device nodes in it (made where this runs as root) nor those
// that links lead to, and a link to /dev is not followed in; a FIFO is taken and fails as before.
TEST_F(CliDeviceTest, AFolderWalkedGivesNoDeviceAndNeverEntersDev) {
    const std::string tree = dir + "/tree";
    std::filesystem::create_directories(tree + "/sub");
    temp.File("tree/sub/abc", "abc");
    mknod((tree + "/disk").c_str(), S_IFBLK | 0600, makedev(7, 200));
    mknod((tree + "/null").c_str(), S_IFCHR | 0600, makedev(1, 3));
    std::filesystem::create_directory_symlink("/dev", tree + "/dev");
    std::filesystem::create_symlink("/dev/null", tree + "/sub/null-link");
    const test::ShellOutcome outcome = Shell("\"$CLI\" -r tree /dev");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "900150983cd24fb0d6963f7d28e17f72  tree/sub/abc\n");
    EXPECT_EQ(outcome.err, "");
}

// --bytes takes a decimal count with an optional unit of 1024 or 1000, and nothing else.
TEST(CliBytesOption, TakesDecimalCountsWithUnitsAndRefusesTheRest) {
    const std::pair<std::string, uint64_t> taken[] = {{"0", 0},
                                                      {"007", 7},
                                                      {"1000", 1000},
                                                      {"1K", 1024},
                                                      {"1KiB", 1024},
                                                      {"1KB", 1000},
                                                      {"3M", 3 << 20},
                                                      {"3MiB", 3 << 20},
                                                      {"3MB", 3000000},
                                                      {"2G", 2ULL << 30},
                                                      {"2GB", 2000000000ULL},
                                                      {"1T", 1ULL << 40},
                                                      {"1TB", 1000000000000ULL},
                                                      {"18446744073709551615", UINT64_MAX}};
    for (const auto& [text, count] : taken) {
        CliOptions options;
        std::string error;
        EXPECT_TRUE(ParseArguments({"--bytes", text, "x"}, options, error)) << text << error;
        EXPECT_EQ(options.bytes, count) << text;
    }
    for (const std::string text :
         {"", "K", "-1", "+1", "1.5K", "1 K", "1X", "0x10", "18446744073709551616", "16777216T"}) {
        CliOptions options;
        std::string error;
        EXPECT_FALSE(ParseArguments({"--bytes", text, "x"}, options, error)) << text;
        EXPECT_EQ(error, "invalid number of bytes: '" + text + "'");
    }
    CliOptions options;
    std::string error;
    EXPECT_FALSE(ParseArguments({"-c", "--bytes", "1", "x"}, options, error));
    EXPECT_NE(error.find("--bytes"), std::string::npos);
}

}  // namespace
}  // namespace rizo
