// SPDX-License-Identifier: MIT
// Command-line arguments of rizodidiz-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/checksum_check.h"
#include "engine/hash_selection.h"

namespace rizo {

// The optional fields of whole records, named as the copy options name them.
struct RecordFields {
    bool IncSize = false;
    bool IncDateCreated = false;
    bool IncDateModified = false;
    bool IncFolder = false;
};

// How each hashed file's lines are written.
enum class LineLayout {
    kStandard,  // "HEX  FILE" for one digest, the tag form for several
    kTag,       // "NAME (FILE) = HEX" even for one digest
    kSfv,       // "FILE CRC32", as SFV files list files
};

struct CliOptions {
    HashSelection selection;
    bool uppercase = false;
    bool progress = false;
    bool recursive = false;
    bool help = false;
    bool version = false;
    LineLayout layout = LineLayout::kStandard;
    // Lines end with NUL instead of newline, and names are written as they are.
    bool zero = false;
    // Print the text Copy would give for these files as the list's rows, all selected.
    bool records = false;
    // Overrides of the copy options read from "cfg.ini", for records only.
    std::optional<int32_t> delimiterType;
    std::optional<RecordFields> fields;
    // Verify the files listed in the FILEs (checksum files) instead of printing digests.
    bool check = false;
    CheckOptions checkOptions;
    std::vector<std::string> files;
};

// Fills `options` from the arguments after the program name; on a usage error returns false with
// the reason in `error`.
bool ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                    std::string& error);

extern const char kUsageText[];
// The --version text: program, package and version, then the copyright.
extern const char kVersionText[];

}  // namespace rizo
