// Command-line arguments of rizodidiz-cli.
#include "cli/cli_options.h"

namespace rizo {

const char kUsageText[] =
    "Usage: rizodidiz-cli [--md5] [--sha1] [--crc32] [--sha256] [--all] [--upper] FILE...\n"
    "Print the digests of each FILE, read once whatever the digests chosen.\n"
    "\n"
    "  --md5      MD5 (the default when no digest is chosen)\n"
    "  --sha1     SHA1\n"
    "  --crc32    CRC32\n"
    "  --sha256   SHA256\n"
    "  --all      all four\n"
    "  --upper    hexadecimal digits in upper case\n"
    "  --help     show this text\n"
    "  --         the arguments that follow are files\n"
    "\n"
    "With one digest each line is 'HEX  FILE', as md5sum, sha1sum and sha256sum write and check\n"
    "it (-c). With several, each digest gets a line 'NAME (FILE) = HEX' in the order MD5, SHA1,\n"
    "CRC32, SHA256. A file name holding a backslash, newline or carriage return is written\n"
    "escaped, and its line starts with a backslash.\n"
    "\n"
    "Exit status: 0 when every file was hashed; 1 when a file could not be (the reason goes to\n"
    "standard error, the other files are still hashed); 2 on a usage error.\n";

bool ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                    std::string& error) {
    HashSelection chosen{false, false, false, false};
    bool filesOnly = false;
    for (const std::string& argument : arguments) {
        if (filesOnly || argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);
        } else if (argument == "--") {
            filesOnly = true;
        } else if (argument == "--md5") {
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
            options.uppercase = true;
        } else if (argument == "--help") {
            options.help = true;
        } else {
            error = "unknown option '" + argument + "'";
            return false;
        }
    }
    if (!chosen.md5 && !chosen.sha1 && !chosen.crc32 && !chosen.sha256) {
        chosen.md5 = true;
    }
    options.selection = chosen;
    if (options.files.empty() && !options.help) {
        error = "no file given";
        return false;
    }
    return true;
}

}  // namespace rizo
