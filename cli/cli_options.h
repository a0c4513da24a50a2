// SPDX-License-Identifier: MIT
// Command-line arguments of rizodidiz-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/hash_selection.h"
#include "cli/checksum_check.h"

namespace rizo {

// The name the program's messages start with.
inline constexpr char kProgramName[] = "rizodidiz-cli";

// The optional fields of whole records, named as the copy options name them.
struct RecordFields {
    bool IncSize = false;
    bool IncDateCreated = false;
    bool IncDateModified = false;
    bool IncFolder = false;
};

// The form of each hashed file's lines.
enum class LineLayout {
    kStandard,  // "HEX  FILE" for one digest, the tag form for several
    kTag,       // "NAME (FILE) = HEX" even for one digest
    kSfv,       // "FILE CRC32", as SFV files list files
};

// How each hashed file's lines are written.
struct LineForm {
    LineLayout layout = LineLayout::kStandard;
    // Lines end with NUL instead of newline, and names are written as they are.
    bool zero = false;
    // "HEX *FILE" instead of "HEX  FILE": coreutils' mark of binary mode, which changes nothing
    // in the digest on this system.
    bool binary = false;
};

struct CliOptions {
    HashSelection selection;
    bool uppercase = false;
    bool progress = false;
    bool recursive = false;
    bool help = false;
    bool version = false;
    LineForm lineForm;
    // Print the text Copy would give for these files as the list's rows, all selected.
    bool records = false;
    // Overrides of the copy options read from "cfg.ini", for records only.
    std::optional<int32_t> delimiterType;
    std::optional<RecordFields> fields;
    // Records end their lines with CR LF, as Copy and Save write them, instead of LF.
    bool crlf = false;
    // Verify the files listed in the FILEs (checksum files) instead of printing digests.
    bool check = false;
    CheckOptions checkOptions;
    // --bytes: only the first so many bytes of each file are hashed.
    std::optional<uint64_t> bytes;
    std::vector<std::string> files;
};

// Fills `options` from the arguments after the program name, parsed by getopt_long as coreutils
// parses them (bundled short options, abbreviated long ones, options after files unless
// POSIXLY_CORRECT is set, "--"); no FILE stands for standard input. On a usage error returns
// false with the reason in `error`, which is empty when getopt_long has written it already.
bool ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                    std::string& error);

extern const char kUsageText[];
// The --version text: program, package and version, then the copyright.
extern const char kVersionText[];

}  // namespace rizo
