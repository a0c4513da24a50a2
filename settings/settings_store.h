// SPDX-License-Identifier: MIT
// Where "cfg.ini" lives and how the settings record is read from it and written to it.
#pragma once

#include <string>

#include "settings/program_settings.h"

namespace rizo {

inline constexpr const char* kSettingsFileName = "cfg.ini";
inline constexpr const char* kUserDataFolderName = "Dodevovaze Rizodidiz";

// Fills the three path members from the running program's folder and the per-user folder.
void ResolveSettingsPath(ProgramSettings& settings);
// The same with the two folders given (each empty or ending with "/"): creates the per-user
// folder when missing, and picks the "cfg.ini" next to the program when one exists there.
void ResolveSettingsPath(ProgramSettings& settings, const std::string& programDirectory,
                         const std::string& userDataDirectory);

// Reads every key present in the file at SettingsPath; missing files, sections, keys and empty
// values leave the fields as they are.
void LoadSettings(ProgramSettings& settings);

// Writes all keys to SettingsPath, keeping every other line of the file, in one atomic replace.
// Callers need not look at the result: on failure the old file stays as it was.
bool SaveSettings(const ProgramSettings& settings);

// The number at the start of a value: leading white space, one optional sign, then digits up
// to the first non-digit; 0 without digits; saturated to the int32 range.
int32_t ParseSettingNumber(const std::string& text);

}  // namespace rizo
