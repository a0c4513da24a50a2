// SPDX-License-Identifier: MIT
// The key table: one row per key drives defaults, loading and saving.
#include "settings/program_settings.h"

#include <type_traits>

namespace rizo {
namespace {

template <auto Member>
SettingKey::FieldRef Field(ProgramSettings& settings) {
    return &(settings.*Member);
}

template <int Index>
SettingKey::FieldRef Column(ProgramSettings& settings) {
    return &settings.ColumnWidth[Index];
}

using S = ProgramSettings;

// "ListComlumn" is the section's established spelling in existing files.
constexpr SettingKey kKeys[] = {
    {"FrameWnd", "AlwaysOnTop", Field<&S::AlwaysOnTop>, 0},
    {"FrameWnd", "Cx", Field<&S::Cx>, 900},
    {"FrameWnd", "Cy", Field<&S::Cy>, 550},
    {"FrameWnd", "X", Field<&S::X>, -1},
    {"FrameWnd", "Y", Field<&S::Y>, -1},
    {"ListComlumn", "FileName", Column<0>, 250},
    {"ListComlumn", "MD5", Column<1>, 250},
    {"ListComlumn", "SHA1", Column<2>, 300},
    {"ListComlumn", "CRC32", Column<3>, 100},
    {"ListComlumn", "SHA256", Column<4>, 470},
    {"ListComlumn", "Size", Column<5>, 100},
    {"ListComlumn", "DateCreated", Column<6>, 130},
    {"ListComlumn", "DateModified", Column<7>, 130},
    {"ListComlumn", "Folder", Column<8>, 300},
    {"ListComlumn", "Verdict", Column<9>, 240},
    {"OptionCopy", "IncSize", Field<&S::IncSize>, 1},
    {"OptionCopy", "IncDateCreated", Field<&S::IncDateCreated>, 1},
    {"OptionCopy", "IncDateModified", Field<&S::IncDateModified>, 0},
    {"OptionCopy", "IncFolder", Field<&S::IncFolder>, 0},
    {"OptionCopy", "DelimiterType", Field<&S::DelimiterType>, 0},
    {"OptionGeneral", "ShowHashInUppercase", Field<&S::ShowHashInUppercase>, 0},
    {"OptionGeneral", "AutoSortFileName", Field<&S::AutoSortFileName>, 0},
    {"OptionGeneral", "UseMonoFont", Field<&S::UseMonoFont>, 1},
    {"OptionGeneral", "ShowBeepMessage", Field<&S::ShowBeepMessage>, 1},
    {"OptionGeneral", "HashMD5", Field<&S::HashMD5>, 1},
    {"OptionGeneral", "HashSHA1", Field<&S::HashSHA1>, 0},
    {"OptionGeneral", "HashCRC32", Field<&S::HashCRC32>, 0},
    {"OptionGeneral", "HashSHA256", Field<&S::HashSHA256>, 0},
};

}  // namespace

std::span<const SettingKey> SettingKeys() {
    return kKeys;
}

void SettingKey::Store(ProgramSettings& settings, int32_t value) const {
    std::visit(
        [value](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            *target = static_cast<T>(value);
        },
        field(settings));
}

int32_t SettingKey::Value(const ProgramSettings& settings) const {
    // The accessor only locates the field; reading through it does not modify the record.
    return std::visit([](auto* source) { return static_cast<int32_t>(*source); },
                      field(const_cast<ProgramSettings&>(settings)));
}

ProgramSettings::ProgramSettings() {
    for (const SettingKey& row : kKeys) {
        row.Store(*this, row.defaultValue);
    }
}

void ProgramSettings::SetHashes(const HashSelection& selection) {
    HashMD5 = selection.md5;
    HashSHA1 = selection.sha1;
    HashCRC32 = selection.crc32;
    HashSHA256 = selection.sha256;
}

}  // namespace rizo
