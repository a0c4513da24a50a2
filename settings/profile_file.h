// SPDX-License-Identifier: MIT
// One settings file opened for one load or one save.
#pragma once

#include <string>
#include <string_view>

#include "settings/ini_document.h"

namespace rizo {

// Reads the whole file when attached; writes change the text in memory, and Commit puts the
// complete new text in place with ReplaceFileContents.
class ProfileFile {
public:
    // Remembers the path and reads the file when it exists. False only when `mustExist` is set
    // and the path does not exist.
    bool Attach(const std::string& path, bool mustExist);

    bool HasSection(std::string_view section) const { return document_.HasSection(section); }
    std::string ReadValue(std::string_view section, std::string_view key) const {
        return document_.ReadValue(section, key);
    }
    void WriteValue(std::string_view section, std::string_view key, std::string_view value);

    // Replaces the file with the changed text (creating it when its folder exists), after
    // removing temporary files that an interrupted save left. Does nothing else and returns true
    // when nothing changed; returns false, with the file untouched, when the file was not a
    // readable regular file at Attach or cannot be replaced.
    bool Commit();

private:
    std::string path_;
    IniDocument document_;
    std::string original_;
    bool unreadable_ = false;
};

}  // namespace rizo
