// SPDX-License-Identifier: MIT
// rizodidiz-cli as a user runs it: output forms, failures, and checking its output with coreutils.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/temp_folder.h"

namespace {

constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kSha1Abc[] = "a9993e364706816aba3e25717850c26c9cd0d89d";
constexpr char kSha256Abc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

using rizo::test::Quoted;
using Outcome = rizo::test::ShellOutcome;

class CliTest : public ::testing::Test {
protected:
    // Runs a shell command line in the temporary folder, `$CLI` standing for the program.
    Outcome Shell(const std::string& command) const {
        return rizo::test::RunShell(dir, "CLI=" + Quoted(RIZO_CLI_PATH) + " && " + command, false);
    }

    Outcome Cli(const std::string& arguments) const { return Shell("\"$CLI\" " + arguments); }

    rizo::test::TempFolder temp;
    const std::string dir = temp.Path().substr(0, temp.Path().size() - 1);
    const std::string abc = temp.File("abc", "abc");
};

TEST_F(CliTest, OneDigestGivesTheCoreutilsLineAndSeveralTheTaggedLinesInFixedOrder) {
    const std::string p = abc;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--crc32 --upper", "352441C2  " + p + "\n"},
        {"--sha256 --crc32 --sha1 --md5",
         "MD5 (" + p + ") = " + kMd5Abc + "\nSHA1 (" + p + ") = " + kSha1Abc + "\nCRC32 (" + p +
             ") = 352441c2\nSHA256 (" + p + ") = " + kSha256Abc + "\n"},
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
        {dir + "/pipe", "not a regular file"},
        {"/proc/self/mem", "Input/output error"},
    };
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0600), 0);
    for (const auto& [bad, reason] : cases) {
        Outcome outcome = Cli("--all " + Quoted(bad) + " " + Quoted(abc));
        EXPECT_EQ(outcome.status, 1) << bad;
        EXPECT_EQ(outcome.out.find(bad + ")"), std::string::npos) << outcome.out;
        EXPECT_NE(outcome.out.find("SHA256 (" + abc + ") = " + kSha256Abc), std::string::npos);
        EXPECT_NE(outcome.err.find(bad), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << outcome.err;
    }
}

// Standard input is a pipe, read to its end without a size to go by, or a file of which one byte
// was read before, so reading starts where it stands.
TEST_F(CliTest, OutputEqualsCoreutilsOwnInEveryLayoutEvenForAwkwardNamesAndStandardInput) {
    for (const char* name : {"back\\slash", "new\nline", "carriage\rreturn", "plain name"}) {
        temp.File(name, name);
    }
    const std::pair<std::string, std::string> layouts[] = {
        {"", "cat abc | "},
        {"--tag", "dd bs=1 count=1 status=none of=/dev/null < abc; "},
        {"--zero", "cat abc | "},
        {"--tag --zero", "cat abc | "},
    };
    for (const std::string tool : {"md5sum", "sha1sum", "sha256sum"}) {
        std::string option = tool == "md5sum" ? "--md5" : tool == "sha1sum" ? "--sha1" : "--sha256";
        for (const auto& [layout, feed] : layouts) {
            const std::string ours =
                "{ " + feed + "\"$CLI\" " + option + " " + layout + " -- * -; }";
            const std::string theirs = "{ " + feed + tool + " " + layout + " -- * -; }";
            Outcome outcome = Shell(ours + " < abc > .ours && " + theirs + " < abc > .theirs && " +
                                    "cmp .ours .theirs");
            EXPECT_EQ(outcome.status, 0) << tool << " " << layout << outcome.err;
        }
        Outcome upper =
            Shell("\"$CLI\" " + option + " --upper -- * > .sums && " + tool + " --strict -c .sums");
        EXPECT_EQ(upper.status, 0) << tool << upper.err;
    }
}

// Files whose reported size is not their length, a device, a failed read and a name past the
// system's limit, beside md5sum on the same paths.
TEST_F(CliTest, PseudoFilesDevicesAndSystemErrorsAsMd5sum) {
    for (const std::string& path :
         {std::string("/sys/class/net/lo/mtu"), std::string("/proc/sys/kernel/ostype"),
          std::string("/dev/null"), std::string("/proc/self/mem"), std::string(300, 'n')}) {
        const Outcome theirs = Shell("md5sum " + Quoted(path) + " abc");
        Outcome ours = Cli(Quoted(path) + " abc");
        if (ours.err.starts_with("rizodidiz-cli:")) {
            ours.err.replace(0, 13, "md5sum");
        }
        EXPECT_EQ(ours.out, theirs.out) << path;
        EXPECT_EQ(ours.err, theirs.err) << path;
        EXPECT_EQ(ours.status, theirs.status) << path;
    }
}

TEST_F(CliTest, SfvLinesEqualCksfvsOwnAndANameWithALineBreakFails) {
    for (const char* name : {"back\\slash", "plain name"}) {
        temp.File(name, name);
    }
    Outcome outcome = Shell(
        "\"$CLI\" --sfv --upper -- * > .ours && cksfv * | grep -v '^;' > .theirs "
        "&& cmp .ours .theirs && cksfv -q -f .ours");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    temp.File("new\nline", "x");
    Outcome broken = Cli("--sfv -- abc 'new\nline'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "abc 352441c2\n");
    EXPECT_NE(broken.err.find("line break"), std::string::npos) << broken.err;
}

TEST_F(CliTest, RecursiveFolderGivesItsFilesInByteOrderUnderTheNameGiven) {
    // "sub.x" comes before "sub/c": '.' is below '/'.
    Shell("mkdir -p tree/sub empty && for f in b a A sub/c sub.x; do printf abc > tree/$f; done");
    const std::vector<std::string> names = {"A", "a", "b", "sub.x", "sub/c"};
    const std::vector<std::string> folders = {"tree", "./tree/", dir + "/tree"};
    for (const std::string& folder : folders) {
        std::string expected;
        for (const std::string& name : names) {
            expected += std::string(kMd5Abc) + "  " + folder + (folder.back() == '/' ? "" : "/") +
                        name + "\n";
        }
        Outcome outcome = Cli("-r " + Quoted(folder) + " empty abc");
        EXPECT_EQ(outcome.status, 0) << folder;
        EXPECT_EQ(outcome.out, expected + kMd5Abc + "  abc\n") << folder;
        EXPECT_EQ(outcome.err, "") << folder;
    }
    // "-" is standard input, named or standing for no FILE, even beside a folder of that name.
    Shell("mkdir ./- && printf x > ./-/x");
    for (const char* arguments : {"-r < abc", "-r - < abc"}) {
        EXPECT_EQ(Cli(arguments).out, std::string(kMd5Abc) + "  -\n") << arguments;
    }
}

// Root lists every folder, so the run drops to user 65534 when the suite runs as root. The path
// too long and the special files fail for root as well.
TEST_F(CliTest, FoldersAndFilesOfAScanThatCannotBeReadAreNamedAndTheRestHashed) {
    Shell(
        "chmod 755 . && mkdir -p tree/locked tree/special tree/deep && chmod 0 tree/locked && "
        "mkfifo tree/special/pipe && printf abc > tree/abc && cd tree/deep && "
        "n=$(printf '%0200d' 0) && for i in $(seq 21); do mkdir $n && cd -P $n || exit 1; done");
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string sockPath = dir + "/tree/special/sock";
    ASSERT_LT(sockPath.size(), sizeof address.sun_path);
    sockPath.copy(address.sun_path, sockPath.size());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(sock);

    Outcome outcome = Shell(
        "AS=; [ \"$(id -u)\" = 0 ] && AS='setpriv --reuid=65534 --regid=65534 --clear-groups'; "
        "$AS \"$CLI\" -r tree");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, std::string(kMd5Abc) + "  tree/abc\n");
    // Folders are listed in the file system's order.
    std::vector<std::string> lines;
    std::istringstream err(outcome.err);
    for (std::string line; std::getline(err, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    ASSERT_EQ(lines.size(), 4u) << outcome.err;
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex("rizodidiz-cli: tree/deep/(0{200}/){20}0{200}: File name too long")));
    EXPECT_EQ(lines[1], "rizodidiz-cli: tree/locked: Permission denied");
    EXPECT_EQ(lines[2], "rizodidiz-cli: tree/special/pipe: not a regular file");
    EXPECT_EQ(lines[3], "rizodidiz-cli: tree/special/sock: not a regular file");
}

// Which values a progress line shows depends on when the main thread reads the worker's state,
// so the lines are checked for form and order, not counted.
// The time left may run to hours: on a loaded machine the first estimate can rest on abc's bytes
// alone, read before the large file's first piece.
TEST_F(CliTest, ProgressGoesToStandardErrorAsLinesWithoutChangingTheOutput) {
    Shell("truncate -s 26214400 large");
    Outcome plain = Cli("--all large abc missing");
    Outcome shown = Cli("--all --progress large abc missing");
    EXPECT_EQ(shown.status, 1);
    EXPECT_EQ(shown.out, plain.out);
    const std::regex line(
        "((\\d+% \u00B7 )?(\\d) of 3 files( \u00B7 [\\d.]+ [kMGT]?B/s)?"
        "( \u00B7 \\d+(:\\d\\d){1,2} left)? \u00B7 (large|abc))|rizodidiz-cli: missing: .*");
    int lastDone = 0;
    std::istringstream lines(shown.err);
    for (std::string text; std::getline(lines, text);) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(text, parts, line)) << text;
        if (parts[3].matched) {
            EXPECT_GE(std::stoi(parts[3]), lastDone) << text;
            lastDone = std::stoi(parts[3]);
        }
    }
    EXPECT_NE(shown.err.find("rizodidiz-cli: missing: No such file"), std::string::npos);
}

// The run is stopped once it has opened the large file, which takes minutes to read; should the
// stop fail, it is killed after 30 seconds. A descriptor closed while ls lists them (the loader's,
// at start) is no error of the program. A script's background job starts with SIGINT ignored,
// which the program respects, so the default is restored for it.
TEST_F(CliTest, StopSignalsEndTheRunAtOnceWithTheFinishedFilesPrintedAndNoPartialLine) {
    Shell("truncate -s 64G huge");
    // Files forced to be read one at a time are read in order: once huge's read has begun, the abc
    // before it is done and its line due; the abc after it is not.
    for (const auto& [signal, status] : {std::pair{"INT", 130}, std::pair{"TERM", 143}}) {
        for (const std::string options : {"--all", "--records --include size"}) {
            Outcome outcome = Shell(
                "true; env --default-signal=INT RIZODIDIZ_PARALLEL_FILES=0 \"$CLI\" " + options +
                " abc huge abc >out & p=$!; "
                "while kill -0 $p && ! grep -qs '^pos:[[:space:]]*[1-9]' $(ls -l /proc/$p/fd "
                "2>/dev/null | awk -v d=/proc/$p/fdinfo/ '/huge/ { print d $9 }'); do "
                "sleep 0.01; done; "
                "kill -" +
                signal +
                " $p; (sleep 30; kill -9 $p) >/dev/null 2>&1 & g=$!; wait $p; s=$?; "
                "kill $g; cat out; exit $s");
            EXPECT_EQ(outcome.status, status) << signal << options;
            EXPECT_EQ(outcome.out, Cli(options + " abc").out) << signal << options;
            EXPECT_EQ(outcome.err, "") << signal << options;
        }
    }
}

// sha256sum says a usage error with exit status 1 and a pointer to its --help; this program exits
// 2 then.
int AsUsageError2(const Outcome& theirs) {
    const bool usage = theirs.err.find("Try 'sha256sum --help'") != std::string::npos;
    return usage && theirs.status == 1 ? 2 : theirs.status;
}

// Standard error without the pointer to --help, which both programs word their own way.
std::string WithoutHelpPointer(const std::string& err) {
    return err.substr(0, err.find("Try '"));
}

// The same arguments given to sha256sum and to this program (for "%") with --sha256 (or alone for
// -c, which takes the digests from the lines) give the same output and exit status; where the
// fault is the parser's or a file's, they say the same.
TEST_F(CliTest, OptionsParseAsSha256sumParsesThem) {
    Shell("printf x > ./-x && sha256sum abc > sums && { cat sums; echo junk; } > mixed");
    struct Case {
        std::string command;
        bool check;
        bool sameMessages;
    };
    const Case cases[] = {
        {"% -bz abc", false, true},
        {"% -zb -- -x abc", false, true},
        {"% -- -x - -- < abc", false, true},
        {"% abc -b -x", false, true},
        {"POSIXLY_CORRECT=1 % abc -b", false, true},
        {"% --bin abc --te -- -x", false, true},
        {"% --t abc", false, true},
        {"% --st abc", false, true},
        {"% --tag -t abc", false, true},
        {"% -t --tag abc", false, true},
        {"% --tag -b abc", false, true},
        {"% --tag -z - < abc", false, true},
        {"% < abc", false, true},
        {"% -b < abc", false, true},
        {"% --sta abc", false, false},
        {"% -c < sums", true, true},
        {"% -cw < mixed", true, true},
        {"% -wc --stri --qu mixed", true, true},
        {"% -c --stat sums", true, true},
        {"% -c -b sums", true, true},
        {"% -tc sums", true, true},
        {"% -c --tag sums", true, false},
    };
    const std::regex program("%");
    const std::regex theirName("(^|\\n)sha256sum: ");
    for (const Case& c : cases) {
        const Outcome theirs = Shell(std::regex_replace(c.command, program, "sha256sum"));
        const std::string cli = c.check ? "\"$CLI\"" : "\"$CLI\" --sha256";
        const Outcome ours = Shell(std::regex_replace(c.command, program, cli));
        EXPECT_EQ(ours.status, AsUsageError2(theirs)) << c.command << theirs.err << ours.err;
        EXPECT_EQ(ours.out, theirs.out) << c.command;
        if (c.sameMessages) {
            EXPECT_EQ(
                WithoutHelpPointer(ours.err),
                std::regex_replace(WithoutHelpPointer(theirs.err), theirName, "$1rizodidiz-cli: "))
                << c.command;
        } else {
            EXPECT_NE(ours.err, "") << c.command;
        }
    }
}

// A read that never returns (a hung share) holds no stop: a file system whose reads end only when
// interrupted stands for it, since a killed reader's process could not end otherwise. The run ends
// with the finished file printed and nothing for the one in the read nor the one after it; should
// the stop fail, it is killed after 20 seconds.
TEST_F(CliTest, StopSignalsEndTheRunWhileAReadNeverReturns) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0 ||
        Shell("/usr/bin/python3 -c 'import fusepy'").status != 0) {
        GTEST_SKIP() << "needs /dev/fuse and python3-fusepy";
    }
    const std::string mount =
        "mkdir -p mnt; /usr/bin/python3 " + Quoted(RIZO_BLOCKING_FS) + " mnt reading & f=$!; " +
        "n=0; while [ ! -e mnt/stuck ] && [ $n -lt 2000 ]; do sleep 0.01; n=$((n+1)); done; ";
    const std::string unmount = "kill $f; wait $f; umount mnt 2>/dev/null; ";
    for (const auto& [signal, status] : {std::pair{"INT", 130}, std::pair{"TERM", 143}}) {
        Outcome outcome = Shell(
            mount +
            "rm -f reading; env --default-signal=INT \"$CLI\" abc mnt/stuck abc >out & p=$!; " +
            "n=0; while [ ! -e reading ] && [ $n -lt 2000 ]; do sleep 0.01; n=$((n+1)); done; " +
            "kill -" + signal + " $p; (sleep 20; kill -9 $p) >/dev/null 2>&1 & g=$!; " +
            "wait $p; s=$?; kill $g; " + unmount + "cat out; exit $s");
        EXPECT_EQ(outcome.status, status) << signal;
        EXPECT_EQ(outcome.out, Cli("abc").out) << signal;
        EXPECT_EQ(outcome.err, "") << signal;
    }
}

TEST_F(CliTest, UsageErrorsExitWith2AndHelpAndVersionAnswer) {
    for (const char* arguments : {"--bogus abc",
                                  "--records --md5 abc",
                                  "--delimiter 1 abc",
                                  "--crlf abc",
                                  "--records -b abc",
                                  "--records --text abc",
                                  "--include size abc",
                                  "--records --delimiter x abc",
                                  "--records --delimiter",
                                  "--records --include size,bogus abc",
                                  "-c --md5 abc",
                                  "--status abc",
                                  "--sfv --sha1 abc",
                                  "--tag --sfv abc",
                                  "--records --zero abc",
                                  "-c --tag abc",
                                  "-x abc",
                                  "-a sha3 abc",
                                  "-a blake2b -l 7 abc",
                                  "-l 256 abc",
                                  "-a",
                                  "-c -a sha512 abc"}) {
        Outcome outcome = Cli(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_NE(outcome.err.find("--help"), std::string::npos) << arguments << outcome.err;
    }
    Outcome help = Cli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(Cli("-h").out, help.out);
    // As in coreutils, --help answers at once, whatever follows it.
    EXPECT_EQ(Cli("--help --bogus").out, help.out);
    for (const char* option : {"--md5",     "--sha1",      "--crc32",
                               "--sha256",  "--all",       "--upper",
                               "--tag",     "--sfv",       "--zero",
                               "-b,",       "--binary",    "-t,",
                               "--text",    "--crlf",      "-c,",
                               "-z",        "--records",   "--delimiter",
                               "--include", "--progress",  "-r ",
                               "--check",   "--quiet",     "--status",
                               "--strict",  "--warn",      "--ignore-missing",
                               "--audit",   "-h",          "--version",
                               "-a,",       "--algorithm", "-l,",
                               "--length"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    Outcome version = Cli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("rizodidiz-cli (Rizodidiz) " RIZO_TEST_VERSION "\n"))
        << version.out;
    // The licence line follows the copyright, as in coreutils.
    EXPECT_TRUE(
        version.out.ends_with("Dodevovaze\nLicense MIT: <https://spdx.org/licenses/MIT.html>.\n"))
        << version.out;
}

// Records use the "cfg.ini" of a per-user folder of their own, so the user's settings play no part.
TEST_F(CliTest, RecordsGiveCopysTextShapedByCfgIniAndTheOverrides) {
    const std::string rule = std::string(50, '-') + "\r\n";
    // A fixed modification time, formatted independently of the program.
    const std::time_t modified = 1416470700;
    struct timespec times[2] = {{modified, 0}, {modified, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, abc.c_str(), times, 0), 0);
    char stamp[32];
    struct tm local {};
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M", localtime_r(&modified, &local));
    const std::string sha1Upper = "A9993E364706816ABA3E25717850C26C9CD0D89D";
    const std::regex crLf("\r\n");
    Shell(
        "mkdir -p tree/s 'config/Dodevovaze Rizodidiz' && printf abc > tree/s/x && "
        "printf abc > tree/w");
    const std::string settings =
        "[OptionCopy]\nIncDateCreated=0\nDelimiterType=1\n"
        "[OptionGeneral]\nHashMD5=0\nHashSHA1=1\nShowHashInUppercase=1\n";
    struct Case {
        std::string ini, arguments, expected;
        int status = 0;
    };
    const Case cases[] = {
        {"", "--include modified,folder abc",
         "abc\r\n" + rule + "MD5            : " + kMd5Abc + "\r\nDate Modified  : " + stamp +
             "\r\nFull Path      : " + abc + "\r\n" + rule},
        {settings, "abc ./abc",
         "abc\t" + sha1Upper + "\t3Byte\r\nabc\t" + sha1Upper + "\t3Byte\r\n"},
        {settings, "-r tree", "x\t" + sha1Upper + "\t3Byte\r\nw\t" + sha1Upper + "\t3Byte\r\n"},
        {settings, "--delimiter -1 --include '' abc", "abc\r\n" + sha1Upper + "\r\n"},
        // No FILE is standard input.
        {settings, "--include '' < abc", "-\t" + sha1Upper + "\r\n"},
        {settings, "--delimiter=0 --include= abc",
         "abc\r\n" + rule + "SHA1           : " + sha1Upper + "\r\n" + rule},
        // A file that cannot be opened keeps its row, with size 0.
        {"", "--include size,folder missing abc",
         "missing\r\n" + rule +
             "MD5            : \r\nFile Size      : 0 Byte\r\nFull Path      : " + dir +
             "/missing\r\n" + rule + "\r\nabc\r\n" + rule + "MD5            : " + kMd5Abc +
             "\r\nFile Size      : 3 Byte\r\nFull Path      : " + abc + "\r\n" + rule,
         1},
    };
    // Lines end with LF unless --crlf asks for Copy's CR LF; the last line ends too.
    for (const Case& c : cases) {
        temp.File("config/Dodevovaze Rizodidiz/cfg.ini", c.ini);
        for (const bool crlf : {false, true}) {
            Outcome outcome = Shell("XDG_CONFIG_HOME=" + Quoted(dir + "/config") +
                                    " \"$CLI\" --records " + (crlf ? "--crlf " : "") + c.arguments);
            EXPECT_EQ(outcome.status, c.status) << c.arguments << outcome.err;
            EXPECT_EQ(outcome.err.empty(), c.status == 0) << c.arguments;
            EXPECT_EQ(outcome.out, crlf ? c.expected : std::regex_replace(c.expected, crLf, "\n"))
                << c.arguments << crlf;
        }
    }
}

// The checker reads the records written with either line end.
TEST_F(CliTest, RecordsCheckWithEitherLineEnd) {
    temp.File("config/Dodevovaze Rizodidiz/cfg.ini", "");
    Outcome outcome =
        Shell("export XDG_CONFIG_HOME=" + Quoted(dir + "/config") +
              " && \"$CLI\" --records abc > lf && \"$CLI\" --records --crlf abc > crlf"
              " && \"$CLI\" -c lf crlf");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "abc: OK\nabc: OK\n");
}

// Each listed file is opened once and its status taken once, read ahead or not: strace counts
// the opens of the files by name, and the status calls over two runs whose difference is the
// extra files alone, so the program's own start-up counts nothing. The files are dropped from
// memory first, where the kernel lets them go, so that they are read ahead. The leak checker of
// an address-sanitized build cannot work under strace.
TEST_F(CliTest, EachFileIsOpenedAndExaminedOnce) {
    const auto calls = [this](int files) {
        const std::string names = "$(seq -f f%g " + std::to_string(files) + ")";
        const Outcome outcome =
            Shell("for f in " + names +
                  "; do [ -e $f ] || head -c 1024 /dev/urandom >$f; done; "
                  "python3 -c 'import os,sys\nfor n in sys.argv[1:]:\n fd=os.open(n,os.O_RDONLY); "
                  "os.posix_fadvise(fd,0,0,os.POSIX_FADV_DONTNEED); os.close(fd)' " +
                  names +
                  "; "
                  "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "
                  "strace -f -o trace -e trace=openat,open,statx,stat,lstat,newfstatat,fstat "
                  "\"$CLI\" --md5 " +
                  names +
                  " >/dev/null && "
                  "awk '/open(at)?\\(.*\"f[0-9]+\"/ { o++ } /stat[x]?\\(/ { s++ } "
                  "END { print o + 0, s + 0 }' trace");
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        std::istringstream counts(outcome.out);
        std::pair<int, int> opensAndStats{-1, -1};
        counts >> opensAndStats.first >> opensAndStats.second;
        return opensAndStats;
    };
    const auto few = calls(16);
    const auto many = calls(80);
    EXPECT_EQ(few.first, 16);
    EXPECT_EQ(many.first, 80);
    EXPECT_EQ(many.second - few.second, 64) << "status calls of 64 more files";
}

// Workers, the reader ahead and the lane helper that also sums the sizes: no more threads than
// the cores plus two, even with large files, every digest and the whole run's progress.
TEST_F(CliTest, ARunStartsAtMostTwoThreadsBeyondTheCores) {
    const Outcome outcome = Shell(
        "for f in $(seq -f big%g 10); do head -c 3000000 /dev/urandom >$f; done; "
        "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 "
        "strace -f -o trace -e trace=clone,clone3 \"$CLI\" --md5 --sha1 --crc32 --sha256 "
        "--progress big* >/dev/null 2>&1 && grep -c 'clone3\\?(' trace");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const int threads = std::stoi(outcome.out);
    EXPECT_GE(threads, 3) << "workers, a reader ahead and a lane helper were expected";
    // ThreadSanitizer's runtime starts a thread of its own in the program.
#if defined(__SANITIZE_THREAD__)
    constexpr int kRuntimeThreads = 1;
#else
    constexpr int kRuntimeThreads = 0;
#endif
    EXPECT_LE(threads, static_cast<int>(std::thread::hardware_concurrency()) + 2 + kRuntimeThreads);
}

}  // namespace
