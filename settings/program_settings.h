// SPDX-License-Identifier: MIT
// The record of every persisted setting and the table of its keys in "cfg.ini".
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "base/hash_selection.h"

namespace rizo {

inline constexpr int kListColumnCount = 10;

// Fields are named after their keys. A default-constructed record holds every key's default
// and empty paths.
struct ProgramSettings {
    ProgramSettings();

    // [FrameWnd]
    bool AlwaysOnTop{};
    int32_t Cx{};
    int32_t Cy{};
    int32_t X{};
    int32_t Y{};
    // [ListComlumn], indexed by list column: Filename, MD5, SHA1, CRC32, SHA256, Size,
    // Date Created, Date Modified, Full Path, Verdict.
    std::array<int32_t, kListColumnCount> ColumnWidth{};
    // [OptionCopy]
    bool IncSize{};
    bool IncDateCreated{};
    bool IncDateModified{};
    bool IncFolder{};
    int32_t DelimiterType{};
    // [OptionGeneral]
    bool ShowHashInUppercase{};
    bool AutoSortFileName{};
    bool UseMonoFont{};
    bool ShowBeepMessage{};
    bool HashMD5{};
    bool HashSHA1{};
    bool HashCRC32{};
    bool HashSHA256{};
    // "LastFolder", also in [OptionGeneral]: the folder the last Add Files, Add Folder or Save
    // dialog was left in, as bytes; empty until one was. The one text key, so it is not in the
    // key table of numbers.
    std::string LastFolder;

    // Never written to the file. The column widths the file held (set by LoadSettings): the
    // window widens the others, which are defaults, to fit its font.
    std::array<bool, kListColumnCount> ColumnWidthRead{};
    // Never written to the file; set by ResolveSettingsPath. The folders end with "/".
    std::string ProgramDirectory;
    std::string UserDataDirectory;
    std::string SettingsPath;

    // The four Hash keys as the digest engine takes them.
    HashSelection Hashes() const { return {HashMD5, HashSHA1, HashCRC32, HashSHA256}; }
    void SetHashes(const HashSelection& selection);

    bool operator==(const ProgramSettings&) const = default;
};

// One key of the file: where it lives, which field holds it, and its default.
struct SettingKey {
    using FieldRef = std::variant<bool*, int32_t*>;

    const char* section;
    const char* key;
    FieldRef (*field)(ProgramSettings&);
    int32_t defaultValue;

    // A bool field holds any non-zero number as true and gives back 1 or 0.
    void Store(ProgramSettings& settings, int32_t value) const;
    int32_t Value(const ProgramSettings& settings) const;
};

// All keys, section by section in the order a new file is written.
std::span<const SettingKey> SettingKeys();

}  // namespace rizo
