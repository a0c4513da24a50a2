// rizodidiz-cli as a user runs it: output forms, failures, and checking its output with coreutils.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kSha1Abc[] = "a9993e364706816aba3e25717850c26c9cd0d89d";
constexpr char kSha256Abc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        std::string pattern = ::testing::TempDir() + "rizo-cli-XXXXXX";
        dir = mkdtemp(pattern.data());
        abc = Write("abc", "abc");
    }
    ~CliTest() override { std::system(("rm -rf " + Quoted(dir)).c_str()); }

    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Runs a shell command line in the temporary folder, `$CLI` standing for the program.
    Outcome Shell(const std::string& command) const {
        std::string errPath = dir + "/.stderr";
        std::string line = "cd " + Quoted(dir) + " && CLI=" + Quoted(RIZO_CLI_PATH) + " && " +
                           command + " 2>" + Quoted(errPath);
        Outcome outcome;
        FILE* pipe = popen(line.c_str(), "r");
        char chunk[4096];
        for (std::size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
            outcome.out.append(chunk, got);
        }
        int raw = pclose(pipe);
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        outcome.err = ReadAll(errPath);
        return outcome;
    }

    Outcome Cli(const std::string& arguments) const { return Shell("\"$CLI\" " + arguments); }

    std::string dir;
    std::string abc;
};

TEST_F(CliTest, OneDigestGivesTheCoreutilsLineAndSeveralTheTaggedLinesInFixedOrder) {
    const std::string p = abc;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", std::string(kMd5Abc) + "  " + p + "\n"},
        {"--sha256", std::string(kSha256Abc) + "  " + p + "\n"},
        {"--crc32 --upper", "352441C2  " + p + "\n"},
        {"--sha1 --md5",
         "MD5 (" + p + ") = " + kMd5Abc + "\nSHA1 (" + p + ") = " + kSha1Abc + "\n"},
        {"--all", "MD5 (" + p + ") = " + kMd5Abc + "\nSHA1 (" + p + ") = " + kSha1Abc +
                      "\nCRC32 (" + p + ") = 352441c2\nSHA256 (" + p + ") = " + kSha256Abc + "\n"},
    };
    for (const auto& [options, expected] : cases) {
        Outcome outcome = Cli(options + " " + Quoted(p));
        EXPECT_EQ(outcome.status, 0) << options;
        EXPECT_EQ(outcome.out, expected) << options;
        EXPECT_EQ(outcome.err, "") << options;
    }
}

TEST_F(CliTest, FileThatCannotBeHashedIsReportedAndTheOthersStillHashed) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {dir + "/missing", "No such file or directory"},
        {dir, "Is a directory"},
        {"/dev/null", "not a regular file"},
        {"/proc/self/mem", "read error"},
    };
    for (const auto& [bad, reason] : cases) {
        Outcome outcome = Cli("--all " + Quoted(bad) + " " + Quoted(abc));
        EXPECT_EQ(outcome.status, 1) << bad;
        EXPECT_EQ(outcome.out.find(bad + ")"), std::string::npos) << outcome.out;
        EXPECT_NE(outcome.out.find("SHA256 (" + abc + ") = " + kSha256Abc), std::string::npos);
        EXPECT_NE(outcome.err.find(bad), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
    }
}

TEST_F(CliTest, CoreutilsCheckersAcceptTheOutputEvenForAwkwardNames) {
    Write("back\\slash", "1");
    Write("new\nline", "2");
    Write("carriage\rreturn", "3");
    Write("plain name", "4");
    for (const std::string tool : {"md5sum", "sha1sum", "sha256sum"}) {
        std::string option = tool == "md5sum" ? "--md5" : tool == "sha1sum" ? "--sha1" : "--sha256";
        Outcome outcome =
            Shell("\"$CLI\" " + option + " --upper -- * > .sums && " + tool + " --strict -c .sums");
        EXPECT_EQ(outcome.status, 0) << tool << outcome.err;
        EXPECT_EQ(outcome.err, "") << tool;
    }
}

TEST_F(CliTest, UsageErrorsExitWith2AndHelpDocumentsTheOptions) {
    for (const std::string& arguments :
         {std::string(), "--bogus " + Quoted(abc), std::string("--md5")}) {
        Outcome outcome = Cli(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_NE(outcome.err.find("--help"), std::string::npos) << arguments;
    }
    Outcome help = Cli("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--md5", "--sha1", "--crc32", "--sha256", "--all", "--upper"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

}  // namespace
