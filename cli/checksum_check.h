// SPDX-License-Identifier: MIT
// rizodidiz-cli --check: verifies the files listed in checksum files, reading each file once
// however many lines of however many lists name it, and reports as sha256sum --check does.
#pragma once

#include <string>
#include <vector>

namespace rizo {

// What the check prints, as coreutils' options set it: each of --status, --quiet and --warn
// overrides the two others, so the last one given wins.
enum class CheckVerbosity { kNormal, kStatus, kQuiet, kWarn };

struct CheckOptions {
    CheckVerbosity verbosity = CheckVerbosity::kNormal;
    bool strict = false;
    bool ignoreMissing = false;
    bool progress = false;
    // Also report the files of the current folder that no list names, and where missing ones
    // moved (see CheckAudit).
    bool audit = false;
};

// Checks every checksum file ("-" is standard input) in turn; 0 when all of them verified, 1
// otherwise.
int CheckChecksumFiles(const std::vector<std::string>& checksumFiles, const CheckOptions& options);

}  // namespace rizo
