// SPDX-License-Identifier: MIT
// Saving through the settings store's atomic replacement, with a reason the user can read.
#include "export/safe_file_write.h"

#include <system_error>

#include "settings/file_replace.h"

namespace rizo {

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error) {
    if (path.empty()) {
        error = "Could not save the file: no file name was given.";
        return false;
    }
    int failure = 0;
    if (ReplaceFileContents(path, bytes, &failure)) {
        return true;
    }
    error = "Could not save \"" + path + "\": " + std::generic_category().message(failure) + ".";
    return false;
}

}  // namespace rizo
