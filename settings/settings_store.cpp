// SPDX-License-Identifier: MIT
// Resolving, loading and saving the settings file.
#include "settings/settings_store.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <utility>
#include <variant>

#include "settings/profile_file.h"
#include "settings/shell_util.h"

namespace rizo {

namespace {

constexpr const char* kLastFolderSection = "OptionGeneral";
constexpr const char* kLastFolderKey = "LastFolder";

void NoteColumnWidthRead(ProgramSettings& settings, const SettingKey& row) {
    const SettingKey::FieldRef field = row.field(settings);
    const int32_t* const* number = std::get_if<int32_t*>(&field);
    for (size_t column = 0; number != nullptr && column < settings.ColumnWidth.size(); ++column) {
        if (*number == &settings.ColumnWidth[column]) {
            settings.ColumnWidthRead[column] = true;
        }
    }
}

}  // namespace

void ResolveSettingsPath(ProgramSettings& settings) {
    ResolveSettingsPath(settings, ShellUtil::GetProgramDirectory(),
                        ShellUtil::GetUserDataDirectory(kUserDataFolderName));
}

void ResolveSettingsPath(ProgramSettings& settings, const std::string& programDirectory,
                         const std::string& userDataDirectory) {
    settings.ProgramDirectory = programDirectory;
    settings.UserDataDirectory = userDataDirectory;
    // Created even when the copy next to the program is in use; a failure shows only as a
    // save that cannot happen.
    if (!ShellUtil::FileExists(userDataDirectory)) {
        ShellUtil::CreateDirectoryPath(userDataDirectory);
    }
    // Without a known program folder the bare name would find a "cfg.ini" in whatever folder
    // the program was started from.
    std::string besideProgram = programDirectory + kSettingsFileName;
    settings.SettingsPath = !programDirectory.empty() && ShellUtil::FileExists(besideProgram)
                                ? besideProgram
                                : userDataDirectory + kSettingsFileName;
}

int32_t ParseSettingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Past the int32 range the value stays saturated instead of overflowing.
        if (value <= kMax + 1) {
            value = value * 10 + (text[i] - '0');
        }
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

void LoadSettings(ProgramSettings& settings) {
    ProfileFile file;
    if (!file.Attach(settings.SettingsPath, true)) {
        return;
    }
    for (const SettingKey& row : SettingKeys()) {
        if (!file.HasSection(row.section)) {
            continue;
        }
        std::string text = file.ReadValue(row.section, row.key);
        if (!text.empty()) {
            row.Store(settings, ParseSettingNumber(text));
            NoteColumnWidthRead(settings, row);
        }
    }
    std::string lastFolder = file.ReadValue(kLastFolderSection, kLastFolderKey);
    if (!lastFolder.empty()) {
        settings.LastFolder = std::move(lastFolder);
    }
}

bool SaveSettings(const ProgramSettings& settings) {
    ProfileFile file;
    file.Attach(settings.SettingsPath, false);
    for (const SettingKey& row : SettingKeys()) {
        file.WriteValue(row.section, row.key, std::to_string(row.Value(settings)));
    }
    // In quotes, which reading takes off, so that blanks at either end of a name stay; a name with
    // a line break cannot be held by the file and is not written.
    const std::string& lastFolder = settings.LastFolder;
    if (!lastFolder.empty() && lastFolder.find_first_of("\r\n") == std::string::npos) {
        file.WriteValue(kLastFolderSection, kLastFolderKey, '"' + lastFolder + '"');
    }
    return file.Commit();
}

}  // namespace rizo
