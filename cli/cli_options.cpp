// SPDX-License-Identifier: MIT
// Command-line arguments of rizodidiz-cli.
#include "cli/cli_options.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstdlib>
#include <string_view>

#include "cli/cli_batch.h"
#include "cli/digest_names.h"
#include "res/version.h"

namespace rizo {

const char kUsageText[] =
    "Usage: rizodidiz-cli [OPTION]... [FILE]...\n"
    "  or:  rizodidiz-cli -c [OPTION]... [FILE]...\n"
    "  or:  rizodidiz-cli --records [OPTION]... [FILE]...\n"
    "Print the digests of each FILE, read once whatever the digests chosen. With no FILE, or\n"
    "when FILE is -, read standard input.\n"
    "\n"
    "Short options may be given together (-rz, -cw), long ones shortened to any beginning that\n"
    "names one option alone (--stat for --status).\n"
    "\n"
    "  --md5               MD5 (the default when no digest is chosen)\n"
    "  --sha1              SHA1\n"
    "  --crc32             CRC32\n"
    "  --sha256            SHA256\n"
    "  --all               all four\n"
    "  -a, --algorithm NAME[,NAME]...\n"
    "                      the digests named, as cksum -a names them: md5, sha1, sha224, sha256,\n"
    "                      sha384, sha512, blake2b, and crc32, xxh64, xxh3 (XXH3's 64-bit\n"
    "                      form), xxh128; may be given more than once and beside the options\n"
    "                      above\n"
    "  -l, --length BITS   with -a blake2b: BLAKE2b's length in bits, a multiple of 8 up to\n"
    "                      512 (the default; 0 also stands for it), as b2sum -l takes it\n"
    "  --upper             hexadecimal digits in upper case\n"
    "  --tag               write 'NAME (FILE) = HEX' lines also for a single digest\n"
    "  --sfv               write the CRC32 alone as 'FILE HEX' lines, the form of SFV files\n"
    "  -b, --binary        write 'HEX *FILE' lines, marked as coreutils marks binary mode (the\n"
    "                      digest is the same: every file is read as it is)\n"
    "  -t, --text          write 'HEX  FILE' lines, the default (--tag after it overrides it)\n"
    "  -z, --zero          end each line with NUL instead of newline and write names unescaped\n"
    "  --records           print the text Copy gives for the FILEs as rows of the list, all\n"
    "                      selected: digests, letter case and layout come from the program's\n"
    "                      cfg.ini; lines end with LF\n"
    "  --crlf              with --records: end lines with CR LF, as Copy and Save do\n"
    "  --delimiter N       with --records: 0 labelled blocks, 1 tab-separated lines, any other\n"
    "                      number one field per line\n"
    "  --include FIELDS    with --records: comma-separated list of size, created, modified,\n"
    "                      folder (may be empty) instead of the cfg.ini choice\n"
    "  --progress          show on standard error the whole run's percent, files done, speed\n"
    "                      and time left, and the current file (one line redrawn in place on a\n"
    "                      terminal, a line a second otherwise)\n"
    "  --bytes N           hash only the first N bytes of each FILE, as 'head -c N FILE' gives\n"
    "                      them; a FILE with fewer fails. N may end with K, M, G or T (KiB,\n"
    "                      MiB, GiB, TiB: powers of 1024) or KB, MB, GB, TB (powers of 1000)\n"
    "  -r                  a FILE that is a folder stands for every file under it, in byte order\n"
    "                      (devices found there are left out, and /dev is never entered)\n"
    "  -c, --check         read checksum lines from the FILEs (standard input for none or '-')\n"
    "                      and check the files they list, each read once for all the lines of\n"
    "                      all the FILEs that name it: GNU lines of any digest length, BSD tag\n"
    "                      lines, SFV lines and the program's own saved records; names are\n"
    "                      relative to the current folder. 128 hex digits are SHA512 or BLAKE2b\n"
    "                      and 32 MD5 or XXH128, either matching, unless the FILE's name says\n"
    "                      which (SHA512SUMS, B2SUMS, *.b2, MD5SUMS, *.xxh128...)\n"
    "  --quiet             with -c: do not print OK for each verified file\n"
    "  --status            with -c: print nothing; the exit status tells the result\n"
    "  --strict            with -c: exit 1 also for improperly formatted lines\n"
    "  -w, --warn          with -c: warn about each improperly formatted line\n"
    "  --ignore-missing    with -c: pass over listed files that do not exist\n"
    "  --audit             with -c: also walk the current folder, where the listed names start,\n"
    "                      as -r walks a folder; after the usual lines print 'NAME: NEW' for each\n"
    "                      file there that no FILE names (the FILEs themselves excepted), and\n"
    "                      'NAME: MOVED to NEWNAME' instead of the lines of a missing listed file\n"
    "                      when a new file has the digests listed for it (that file is then not\n"
    "                      new); the new files are read, once, only when a listed file is\n"
    "                      missing; standard error counts them ('2 new, 1 moved')\n"
    "  -h, --help          show this text\n"
    "  --version           show the program's version\n"
    "  --                  the arguments that follow are files\n"
    "\n"
    "With one digest each line is 'HEX  FILE', as md5sum, sha1sum, sha224sum, sha256sum,\n"
    "sha384sum, sha512sum and b2sum write and check it (-c), or as xxhsum -H1 (xxh64) and -H2\n"
    "(xxh128) write it; xxh3 is 'XXH3 (FILE) = HEX', as xxhsum -H3 writes it. With several,\n"
    "each digest gets a line 'NAME (FILE) = HEX' in the order MD5, SHA1, CRC32, SHA256, SHA224,\n"
    "SHA384, SHA512, BLAKE2b, XXH64, XXH3, XXH128, NAME being the one --tag gives it (BLAKE2b-N\n"
    "for a length N below 512, as b2sum --tag writes it). For the digests up to BLAKE2b a file\n"
    "name holding a backslash, newline or carriage return is written escaped, and its line\n"
    "starts with a backslash (not with --zero; with --sfv such a name, or one an SFV reader\n"
    "would take otherwise, as a comment for a leading ';' or '#', cannot be written and counts\n"
    "as a failure). The xxHash lines write names as they are and standard input as 'stdin', as\n"
    "xxhsum does.\n"
    "\n"
    "A block device named as FILE (a disk, a USB stick) is read whole, to the size its driver\n"
    "gives; with --bytes and the size of the image written to it, its digest is the image's.\n"
    "\n"
    "Exit status: 0 when every file was hashed; 1 when a file could not be (the reason goes to\n"
    "standard error, the other files are still hashed); 2 on a usage error. With -c: 0 when\n"
    "every listed file matched (and, with --audit, nothing is new or moved), 1 otherwise. 130\n"
    "or 143 when SIGINT or SIGTERM stopped the run: the files finished before it are printed,\n"
    "the file being read is not.\n";

const char kVersionText[] = "rizodidiz-cli (Rizodidiz) " RIZO_VERSION
                            "\n"
                            "Copyright (C) 2026 Dodevovaze\n" RIZO_LICENSE_LINE;

namespace {

// Codes of the options that have no short form, beyond every character.
enum LongOnly : int {
    kMd5 = 256,
    kSha1,
    kCrc32,
    kSha256,
    kAll,
    kUpper,
    kTag,
    kSfv,
    kRecords,
    kCrlf,
    kDelimiter,
    kInclude,
    kProgress,
    kBytes,
    kQuiet,
    kStatus,
    kStrict,
    kIgnoreMissing,
    kAudit,
    kVersion,
};

constexpr char kShortOptions[] = "a:bchl:rtwz";

const option kLongOptions[] = {
    {"md5", no_argument, nullptr, kMd5},
    {"sha1", no_argument, nullptr, kSha1},
    {"crc32", no_argument, nullptr, kCrc32},
    {"sha256", no_argument, nullptr, kSha256},
    {"all", no_argument, nullptr, kAll},
    {"algorithm", required_argument, nullptr, 'a'},
    {"length", required_argument, nullptr, 'l'},
    {"upper", no_argument, nullptr, kUpper},
    {"binary", no_argument, nullptr, 'b'},
    {"tag", no_argument, nullptr, kTag},
    {"text", no_argument, nullptr, 't'},
    {"sfv", no_argument, nullptr, kSfv},
    {"zero", no_argument, nullptr, 'z'},
    {"records", no_argument, nullptr, kRecords},
    {"crlf", no_argument, nullptr, kCrlf},
    {"delimiter", required_argument, nullptr, kDelimiter},
    {"include", required_argument, nullptr, kInclude},
    {"progress", no_argument, nullptr, kProgress},
    {"bytes", required_argument, nullptr, kBytes},
    {"check", no_argument, nullptr, 'c'},
    {"quiet", no_argument, nullptr, kQuiet},
    {"status", no_argument, nullptr, kStatus},
    {"strict", no_argument, nullptr, kStrict},
    {"warn", no_argument, nullptr, 'w'},
    {"ignore-missing", no_argument, nullptr, kIgnoreMissing},
    {"audit", no_argument, nullptr, kAudit},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// What the options asked for, before the checks that need them all.
struct Given {
    HashSelection chosen{false, false, false, false};
    // -l's BLAKE2b length in bits; 0 stands for 512, as in b2sum.
    std::optional<uintmax_t> blake2bBits;
    bool tag = false;
    bool sfv = false;
    // -b (true) or -t (false), the later one counting; --tag sets binary mode, as in coreutils.
    std::optional<bool> binary;
    // An option that only -c gives a meaning.
    bool checkOnly = false;
};

bool ParseDelimiter(const std::string& text, CliOptions& options, std::string& error) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || failure != std::errc() || stop != end) {
        error = "invalid delimiter '" + text + "'";
        return false;
    }
    options.delimiterType = value;
    return true;
}

bool ParseFields(std::string_view text, CliOptions& options, std::string& error) {
    RecordFields fields;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        if (name == "size") {
            fields.IncSize = true;
        } else if (name == "created") {
            fields.IncDateCreated = true;
        } else if (name == "modified") {
            fields.IncDateModified = true;
        } else if (name == "folder") {
            fields.IncFolder = true;
        } else {
            error = "unknown field '" + std::string(name) + "' in --include";
            return false;
        }
    }
    options.fields = fields;
    return true;
}

// -a's comma-separated names, each added to `chosen`.
bool ParseAlgorithms(std::string_view text, HashSelection& chosen, std::string& error) {
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view name = text.substr(start, comma - start);
        const DigestName* digest = FindDigest(name);
        if (digest == nullptr) {
            error = "unknown digest '" + std::string(name) + "' in --algorithm; the names are " +
                    AlgorithmNames();
            return false;
        }
        chosen.*digest->fields.chosen = true;
        start = comma + 1;
    }
    return true;
}

// -l's number of bits, read as b2sum reads it: decimal, after optional blanks and a plus sign.
bool ParseLength(const std::string& text, Given& given, std::string& error) {
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    const bool negative = first != std::string::npos && text[first] == '-';
    char* stop = nullptr;
    errno = 0;
    const uintmax_t bits = std::strtoumax(text.c_str(), &stop, 10);
    if (negative || errno != 0 || stop == text.c_str() || *stop != '\0') {
        error = "invalid length '" + text + "'";
        return false;
    }
    if (bits % 8 != 0) {
        error = "invalid length '" + text + "': BLAKE2b takes a multiple of 8 bits";
        return false;
    }
    if (bits > 512) {
        error = "invalid length '" + text + "': BLAKE2b takes at most 512 bits";
        return false;
    }
    given.blake2bBits = bits;
    return true;
}

// A count of bytes: decimal digits and an optional unit, as head -c takes the common ones.
bool ParseBytes(std::string_view text, CliOptions& options, std::string& error) {
    struct Unit {
        std::string_view name;
        uint64_t factor;
    };
    static constexpr Unit kUnits[] = {{"", 1},
                                      {"K", 1ULL << 10},
                                      {"KiB", 1ULL << 10},
                                      {"KB", 1000},
                                      {"M", 1ULL << 20},
                                      {"MiB", 1ULL << 20},
                                      {"MB", 1000000},
                                      {"G", 1ULL << 30},
                                      {"GiB", 1ULL << 30},
                                      {"GB", 1000000000},
                                      {"T", 1ULL << 40},
                                      {"TiB", 1ULL << 40},
                                      {"TB", 1000000000000}};
    uint64_t count = 0;
    const auto [stop, failure] = std::from_chars(text.data(), text.data() + text.size(), count);
    const std::string_view unit = text.substr(static_cast<std::size_t>(stop - text.data()));
    for (const Unit& each : kUnits) {
        // from_chars takes no sign, so "-1" and "+1" fail as they should.
        if (failure == std::errc() && unit == each.name && count <= UINT64_MAX / each.factor) {
            options.bytes = count * each.factor;
            return true;
        }
    }
    error = "invalid number of bytes: '" + std::string(text) + "'";
    return false;
}

// --md5, --sha1, --crc32, --sha256, --all and --upper; false for any other option.
bool TakeDigestOption(int code, HashSelection& chosen, bool& uppercase) {
    switch (code) {
        case kMd5:
            chosen.md5 = true;
            return true;
        case kSha1:
            chosen.sha1 = true;
            return true;
        case kCrc32:
            chosen.crc32 = true;
            return true;
        case kSha256:
            chosen.sha256 = true;
            return true;
        case kAll:
            chosen.md5 = chosen.sha1 = chosen.crc32 = chosen.sha256 = true;
            return true;
        case kUpper:
            uppercase = true;
            return true;
        default:
            return false;
    }
}

// Output options: -b, -t, --tag, --sfv and -z; false for any other option.
bool TakeLayoutOption(int code, Given& given, bool& zero) {
    switch (code) {
        case 'b':
        case 't':
            given.binary = code == 'b';
            return true;
        case kTag:
            given.tag = true;
            given.binary = true;
            return true;
        case kSfv:
            given.sfv = true;
            return true;
        case 'z':
            zero = true;
            return true;
        default:
            return false;
    }
}

// -c and the options that only make sense with it; false for any other option.
bool TakeCheckOption(int code, CliOptions& options, bool& checkOnly) {
    CheckOptions& check = options.checkOptions;
    switch (code) {
        case 'c':
            options.check = true;
            return true;
        case kQuiet:
            check.verbosity = CheckVerbosity::kQuiet;
            break;
        case kStatus:
            check.verbosity = CheckVerbosity::kStatus;
            break;
        case 'w':
            check.verbosity = CheckVerbosity::kWarn;
            break;
        case kStrict:
            check.strict = true;
            break;
        case kIgnoreMissing:
            check.ignoreMissing = true;
            break;
        case kAudit:
            check.audit = true;
            break;
        default:
            return false;
    }
    checkOnly = true;
    return true;
}

// One option as getopt_long returned it; false on a usage error, whose reason is in `error` or,
// for '?', already written by getopt_long.
bool TakeOption(int code, const char* value, Given& given, CliOptions& options,
                std::string& error) {
    switch (code) {
        case kDelimiter:
            return ParseDelimiter(value, options, error);
        case kInclude:
            return ParseFields(value, options, error);
        case 'a':
            return ParseAlgorithms(value, given.chosen, error);
        case 'l':
            return ParseLength(value, given, error);
        case kRecords:
            options.records = true;
            return true;
        case kCrlf:
            options.crlf = true;
            return true;
        case kProgress:
            options.progress = true;
            return true;
        case kBytes:
            return ParseBytes(value, options, error);
        case 'r':
            options.recursive = true;
            return true;
        default:
            return TakeDigestOption(code, given.chosen, options.uppercase) ||
                   TakeLayoutOption(code, given, options.lineForm.zero) ||
                   TakeCheckOption(code, options, given.checkOnly);
    }
}

// The layout the output options chose, with the CRC32 that --sfv stands for.
bool ChooseLayout(Given& given, CliOptions& options, std::string& error) {
    const HashSelection& chosen = given.chosen;
    if (given.tag && given.sfv) {
        error = "--tag and --sfv are two different layouts";
        return false;
    }
    if (given.sfv && ChosenCount(chosen) > (chosen.crc32 ? 1 : 0)) {
        error = "--sfv writes the CRC32 alone";
        return false;
    }
    if (given.tag && given.binary == false) {
        error = "--tag does not support --text mode";
        return false;
    }
    given.chosen.crc32 = chosen.crc32 || given.sfv;
    options.lineForm.layout = given.tag   ? LineLayout::kTag
                              : given.sfv ? LineLayout::kSfv
                                          : LineLayout::kStandard;
    options.lineForm.binary = given.binary.value_or(false);
    return true;
}

// The options that exclude each other or need another.
bool CheckCombination(Given& given, CliOptions& options, std::string& error) {
    const HashSelection& chosen = given.chosen;
    const bool digestOptions =
        ChosenCount(chosen) > 0 || given.blake2bBits.has_value() || options.uppercase;
    const bool layoutOptions =
        given.tag || given.sfv || given.binary.has_value() || options.lineForm.zero;
    if (options.records && (digestOptions || layoutOptions)) {
        error = "--records takes the digests, their letter case and layout from cfg.ini";
        return false;
    }
    if (!options.records && (options.delimiterType || options.fields || options.crlf)) {
        error = "--delimiter, --include and --crlf need --records";
        return false;
    }
    if (options.check && given.binary && !given.tag) {
        error = "the --binary and --text options are meaningless when verifying checksums";
        return false;
    }
    if (options.check && options.bytes) {
        error = "--check reads each listed file whole: --bytes is for the files named";
        return false;
    }
    if (options.check && (digestOptions || layoutOptions || options.records || options.recursive)) {
        error = "--check takes the digests and the files from the checksum files";
        return false;
    }
    if (given.blake2bBits && !chosen.blake2b) {
        error = "--length needs --algorithm blake2b";
        return false;
    }
    if (given.checkOnly && !options.check) {
        error = "--quiet, --status, --strict, --warn, --ignore-missing and --audit need --check";
        return false;
    }
    return ChooseLayout(given, options, error);
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                    std::string& error) {
    std::vector<std::string> words = arguments;
    words.insert(words.begin(), kProgramName);
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    Given given;
    // 0 starts getopt_long afresh, also reading POSIXLY_CORRECT again.
    optind = 0;
    opterr = 1;
    for (int code;
         (code = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
        // As in coreutils, --help and --version answer at once, whatever follows.
        if (code == 'h' || code == kVersion) {
            options.help = code == 'h';
            options.version = code == kVersion;
            return true;
        }
        if (!TakeOption(code, optarg, given, options, error)) {
            return false;
        }
    }
    if (!CheckCombination(given, options, error)) {
        return false;
    }
    options.checkOptions.progress = options.progress;
    options.files.assign(argv.begin() + optind, argv.begin() + argc);
    if (options.files.empty()) {
        options.files.push_back(kStandardInputName);
    }
    if (ChosenCount(given.chosen) == 0) {
        given.chosen.md5 = true;
    }
    if (given.blake2bBits.value_or(0) != 0) {
        given.chosen.blake2bBits = static_cast<int>(*given.blake2bBits);
    }
    options.selection = given.chosen;
    return true;
}

}  // namespace rizo
