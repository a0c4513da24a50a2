// SPDX-License-Identifier: MIT
// Command-line arguments of rizodidiz-cli.
#include "cli/cli_options.h"

#include <charconv>
#include <string_view>

#include "res/version.h"

namespace rizo {

const char kUsageText[] =
    "Usage: rizodidiz-cli [OPTION]... FILE...\n"
    "  or:  rizodidiz-cli -c [OPTION]... [FILE]...\n"
    "  or:  rizodidiz-cli --records [OPTION]... FILE...\n"
    "Print the digests of each FILE, read once whatever the digests chosen. A FILE named - is\n"
    "standard input.\n"
    "\n"
    "  --md5               MD5 (the default when no digest is chosen)\n"
    "  --sha1              SHA1\n"
    "  --crc32             CRC32\n"
    "  --sha256            SHA256\n"
    "  --all               all four\n"
    "  --upper             hexadecimal digits in upper case\n"
    "  --tag               write 'NAME (FILE) = HEX' lines also for a single digest\n"
    "  --sfv               write the CRC32 alone as 'FILE HEX' lines, the form of SFV files\n"
    "  -z, --zero          end each line with NUL instead of newline and write names unescaped\n"
    "  --records           print the text Copy gives for the FILEs as rows of the list, all\n"
    "                      selected: digests, letter case and layout come from the program's\n"
    "                      cfg.ini\n"
    "  --delimiter N       with --records: 0 labelled blocks, 1 tab-separated lines, any other\n"
    "                      number one field per line\n"
    "  --include FIELDS    with --records: comma-separated list of size, created, modified,\n"
    "                      folder (may be empty) instead of the cfg.ini choice\n"
    "  --progress          show on standard error the whole run's percent, files done, speed\n"
    "                      and time left, and the current file (one line redrawn in place on a\n"
    "                      terminal, a line a second otherwise)\n"
    "  -r                  a FILE that is a folder stands for every file under it, in byte order\n"
    "  -c, --check         read checksum lines from the FILEs (standard input for none or '-')\n"
    "                      and check the files they list, each read once for all its digests: GNU\n"
    "                      lines of any digest length, BSD tag lines, SFV lines and the program's\n"
    "                      own saved records; names are relative to the current folder\n"
    "  --quiet             with -c: do not print OK for each verified file\n"
    "  --status            with -c: print nothing; the exit status tells the result\n"
    "  --strict            with -c: exit 1 also for improperly formatted lines\n"
    "  -w, --warn          with -c: warn about each improperly formatted line\n"
    "  --ignore-missing    with -c: pass over listed files that do not exist\n"
    "  -h, --help          show this text\n"
    "  --version           show the program's version\n"
    "  --                  the arguments that follow are files\n"
    "\n"
    "With one digest each line is 'HEX  FILE', as md5sum, sha1sum and sha256sum write and check\n"
    "it (-c). With several, each digest gets a line 'NAME (FILE) = HEX' in the order MD5, SHA1,\n"
    "CRC32, SHA256. A file name holding a backslash, newline or carriage return is written\n"
    "escaped, and its line starts with a backslash (not with --zero; with --sfv such a name,\n"
    "or one an SFV reader would take otherwise, as a comment for a leading ';' or '#', cannot\n"
    "be written and counts as a failure).\n"
    "\n"
    "Exit status: 0 when every file was hashed; 1 when a file could not be (the reason goes to\n"
    "standard error, the other files are still hashed); 2 on a usage error. With -c: 0 when\n"
    "every listed file matched, 1 otherwise. 130 or 143 when SIGINT or SIGTERM stopped the run:\n"
    "the files finished before it are printed, the file being read is not.\n";

const char kVersionText[] = "rizodidiz-cli (Rizodidiz) " RIZO_VERSION
                            "\n"
                            "Copyright (C) 2026 Dodevovaze\n";

namespace {

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

// --md5, --sha1, --crc32, --sha256, --all and --upper; false for any other argument.
bool TakeDigestOption(const std::string& argument, HashSelection& chosen, bool& uppercase) {
    if (argument == "--md5") {
        chosen.md5 = true;
    } else if (argument == "--sha1") {
        chosen.sha1 = true;
    } else if (argument == "--crc32") {
        chosen.crc32 = true;
    } else if (argument == "--sha256") {
        chosen.sha256 = true;
    } else if (argument == "--all") {
        chosen = {true, true, true, true};
    } else if (argument == "--upper") {
        uppercase = true;
    } else {
        return false;
    }
    return true;
}

// Output options: --tag, --sfv and -z/--zero; false for any other argument.
bool TakeLayoutOption(const std::string& argument, bool& tag, bool& sfv, bool& zero) {
    if (argument == "--tag") {
        tag = true;
    } else if (argument == "--sfv") {
        sfv = true;
    } else if (argument == "-z" || argument == "--zero") {
        zero = true;
    } else {
        return false;
    }
    return true;
}

// The layout the output options chose, with the CRC32 that --sfv stands for.
bool ChooseLayout(bool tag, bool sfv, HashSelection& chosen, CliOptions& options,
                  std::string& error) {
    if (tag && sfv) {
        error = "--tag and --sfv are two different layouts";
        return false;
    }
    if (sfv && (chosen.md5 || chosen.sha1 || chosen.sha256)) {
        error = "--sfv writes the CRC32 alone";
        return false;
    }
    chosen.crc32 = chosen.crc32 || sfv;
    options.layout = tag ? LineLayout::kTag : sfv ? LineLayout::kSfv : LineLayout::kStandard;
    return true;
}

// "--name value" or "--name=value"; false when `argument` is not `name`.
bool TakeValue(const std::vector<std::string>& arguments, size_t& i, std::string_view name,
               std::optional<std::string>& value) {
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        return true;
    }
    if (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
        argument[name.size()] == '=') {
        value = argument.substr(name.size() + 1);
        return true;
    }
    return false;
}

// -c and the options that only make sense with it; false for any other argument.
bool TakeCheckOption(const std::string& argument, CliOptions& options, bool& checkOnly) {
    CheckOptions& check = options.checkOptions;
    if (argument == "-c" || argument == "--check") {
        options.check = true;
        return true;
    }
    if (argument == "--quiet") {
        check.verbosity = CheckVerbosity::kQuiet;
    } else if (argument == "--status") {
        check.verbosity = CheckVerbosity::kStatus;
    } else if (argument == "-w" || argument == "--warn") {
        check.verbosity = CheckVerbosity::kWarn;
    } else if (argument == "--strict") {
        check.strict = true;
    } else if (argument == "--ignore-missing") {
        check.ignoreMissing = true;
    } else {
        return false;
    }
    checkOnly = true;
    return true;
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                    std::string& error) {
    HashSelection chosen{false, false, false, false};
    bool filesOnly = false;
    bool checkOnly = false;
    bool tag = false;
    bool sfv = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string> value;
        if (filesOnly || argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);
            continue;
        }
        if (TakeValue(arguments, i, "--delimiter", value) ||
            TakeValue(arguments, i, "--include", value)) {
            if (!value) {
                error = "option '" + argument + "' needs a value";
                return false;
            }
            const bool parsed = argument.starts_with("--delimiter")
                                    ? ParseDelimiter(*value, options, error)
                                    : ParseFields(*value, options, error);
            if (!parsed) {
                return false;
            }
            continue;
        }
        if (argument == "--records") {
            options.records = true;
        } else if (argument == "--progress") {
            options.progress = true;
        } else if (argument == "-r") {
            options.recursive = true;
        } else if (argument == "--") {
            filesOnly = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (!TakeLayoutOption(argument, tag, sfv, options.zero) &&
                   !TakeDigestOption(argument, chosen, options.uppercase) &&
                   !TakeCheckOption(argument, options, checkOnly)) {
            error = "unknown option '" + argument + "'";
            return false;
        }
    }
    const bool digestOptions =
        chosen.md5 || chosen.sha1 || chosen.crc32 || chosen.sha256 || options.uppercase;
    if (options.records && (digestOptions || tag || sfv || options.zero)) {
        error = "--records takes the digests, their letter case and layout from cfg.ini";
        return false;
    }
    if (!ChooseLayout(tag, sfv, chosen, options, error)) {
        return false;
    }
    if (!options.records && (options.delimiterType || options.fields)) {
        error = "--delimiter and --include need --records";
        return false;
    }
    if (options.check &&
        (digestOptions || tag || sfv || options.zero || options.records || options.recursive)) {
        error = "--check takes the digests and the files from the checksum files";
        return false;
    }
    if (checkOnly && !options.check) {
        error = "--quiet, --status, --strict, --warn and --ignore-missing need --check";
        return false;
    }
    options.checkOptions.progress = options.progress;
    if (options.check && options.files.empty()) {
        options.files.push_back("-");
    }
    if (!chosen.md5 && !chosen.sha1 && !chosen.crc32 && !chosen.sha256) {
        chosen.md5 = true;
    }
    options.selection = chosen;
    if (options.files.empty() && !options.help && !options.version) {
        error = "no file given";
        return false;
    }
    return true;
}

}  // namespace rizo
