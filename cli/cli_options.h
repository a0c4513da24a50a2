// Command-line arguments of rizodidiz-cli.
#pragma once

#include <string>
#include <vector>

#include "engine/hash_selection.h"

namespace rizo {

struct CliOptions {
    HashSelection selection;
    bool uppercase = false;
    bool help = false;
    std::vector<std::string> files;
};

// Fills `options` from the arguments after the program name; on a usage error returns false with
// the reason in `error`.
bool ParseArguments(const std::vector<std::string>& arguments, CliOptions& options,
                    std::string& error);

extern const char kUsageText[];

}  // namespace rizo
