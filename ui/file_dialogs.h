// SPDX-License-Identifier: MIT
// The file and folder dialogs of Add Files, Add Folder and Save, giving names as bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/save_format.h"

class QWidget;

namespace rizo {

// Each dialog opens in `lastFolder` while that is a folder, otherwise in the home folder (never
// in the working directory), and once accepted sets `lastFolder` to the folder it was left in.

// Existing files chosen to be added, in the dialog's order; empty when cancelled.
std::vector<std::string> AskFilesToAdd(QWidget* parent, std::string& lastFolder);

// The folder chosen in the dialog titled "Select a folder"; no value when cancelled.
std::optional<std::string> AskFolderToAdd(QWidget* parent, std::string& lastFolder);

// An existing checksum file to verify; no value when cancelled.
std::optional<std::string> AskChecksumFile(QWidget* parent, std::string& lastFolder);

struct SaveChoice {
    std::string path;
    SaveFormat format = SaveFormat::kText;
};

// The name confirmed in the save dialog (which asks before replacing a file), with no extension
// added, and the format its extension names, else that of the type chosen; no value when
// cancelled.
std::optional<SaveChoice> AskSavePath(QWidget* parent, std::string& lastFolder);

}  // namespace rizo
