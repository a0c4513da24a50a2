// SPDX-License-Identifier: MIT
// The command vocabulary: one row per command identifier.
#include "ui/command_table.h"

#include <QApplication>

#include <algorithm>
#include <array>

#include "settings/program_settings.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"

namespace rizo {
namespace {

bool Idle(const CommandContext& c) {
    return !c.busy;
}
bool IdleWithRows(const CommandContext& c) {
    return !c.busy && c.rows > 0;
}
bool IdleWithSelection(const CommandContext& c) {
    return !c.busy && c.selected > 0;
}
bool HasFailedRows(const CommandContext& c) {
    return c.failed > 0;
}
bool Busy(const CommandContext& c) {
    return c.busy;
}
// Classes 0 and 1 stand for platforms without SHA-256.
bool Sha256Offered(const CommandContext& c) {
    return !c.busy && c.osClass != 0 && c.osClass != 1;
}

bool HashMd5On(const CommandContext& c) {
    return c.settings->HashMD5;
}
bool HashSha1On(const CommandContext& c) {
    return c.settings->HashSHA1;
}
bool HashCrc32On(const CommandContext& c) {
    return c.settings->HashCRC32;
}
bool HashSha256On(const CommandContext& c) {
    return c.settings->HashSHA256;
}
bool UppercaseOn(const CommandContext& c) {
    return c.settings->ShowHashInUppercase;
}
bool AlwaysOnTopOn(const CommandContext& c) {
    return c.settings->AlwaysOnTop;
}

bool CopyMd5Allowed(const CommandContext& c) {
    return IdleWithSelection(c) && HashMd5On(c);
}
bool CopySha1Allowed(const CommandContext& c) {
    return IdleWithSelection(c) && HashSha1On(c);
}
bool CopyCrc32Allowed(const CommandContext& c) {
    return IdleWithSelection(c) && HashCrc32On(c);
}
bool CopySha256Allowed(const CommandContext& c) {
    return IdleWithSelection(c) && HashSha256On(c);
}

// clang-format off
const std::array kCommands = {
    CommandSpec{kCmdAddFiles, "Add Files...", "Add files to file list", "Add Files",
        ":/toolbar/add_files.svg", "Ctrl+F",
        [](MainFrame& f) { f.AddFiles(); }, Idle, nullptr, false},
    CommandSpec{kCmdAddFolder, "Add Folder...", "Add all files in a folder to file list",
        "Add A Folder", ":/toolbar/add_folder.svg", "Ctrl+O",
        [](MainFrame& f) { f.AddFolder(); }, Idle, nullptr, false},
    CommandSpec{kCmdVerify, "Verify Checksum File...",
        "Check the files listed in a checksum file", "Verify Checksum File",
        ":/toolbar/verify.svg", nullptr,
        [](MainFrame& f) { f.VerifyChecksumFile(); }, Idle, nullptr, false},
    CommandSpec{kCmdAudit, "Audit Folder...",
        "Check the files listed in a checksum file and find the files new or moved in its folder",
        "", nullptr, nullptr, [](MainFrame& f) { f.AuditFolder(); }, Idle, nullptr, false},
    CommandSpec{kCmdSelectAll, "Select All", "", "", nullptr, "Ctrl+A",
        [](MainFrame& f) { f.SelectAll(); }, nullptr, nullptr, false},
    CommandSpec{kCmdSelectNone, "Select None", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.SelectNone(); }, nullptr, nullptr, false},
    CommandSpec{kCmdRemoveSelected, "Remove Selected Items", "", "", nullptr, "Del",
        [](MainFrame& f) { f.RemoveSelected(); }, IdleWithSelection, nullptr, true},
    CommandSpec{kCmdClearAll, "Clear All", "Clear all items in file list", "Clear All",
        ":/toolbar/clear_all.svg", "Ctrl+X",
        [](MainFrame& f) { f.ClearAll(); }, IdleWithRows, nullptr, false},
    CommandSpec{kCmdRefresh, "Refresh", "Rehash all item in file list and refresh list",
        "Rehash and Refresh List", ":/toolbar/refresh.svg", "F5",
        [](MainFrame& f) { f.RehashAll(); }, IdleWithRows, nullptr, false},
    CommandSpec{kCmdStop, "Stop", "Stop hashing", "Stop Hashing", ":/toolbar/stop.svg", nullptr,
        [](MainFrame& f) { f.StopHashing(); }, Busy, nullptr, false},
    CommandSpec{kCmdExit, "Exit", "Quit the application; prompts to save documents", "", nullptr,
        "Ctrl+Q", [](MainFrame& f) { f.Exit(); }, nullptr, nullptr, false},
    CommandSpec{kCmdSave, "&Save...", "Save the selected item to a text file",
        "Save Selected Items to File", ":/toolbar/save.svg", "Ctrl+S",
        [](MainFrame& f) { f.SaveToFile(); }, IdleWithSelection, nullptr, true},
    CommandSpec{kCmdCopy, "&Copy", "Copy the selected item and put it on the Clipboard",
        "Copy Selected Items", ":/toolbar/copy.svg", "Ctrl+C",
        [](MainFrame& f) { f.CopyToClipboard(ExportKind::kRecords); }, IdleWithSelection,
        nullptr, true},
    CommandSpec{kCmdCopyMd5, "Copy MD5", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.CopyToClipboard(ExportKind::kMd5); }, CopyMd5Allowed, nullptr, true},
    CommandSpec{kCmdCopySha1, "Copy SHA1", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.CopyToClipboard(ExportKind::kSha1); }, CopySha1Allowed, nullptr,
        true},
    CommandSpec{kCmdCopyCrc32, "Copy CRC32", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.CopyToClipboard(ExportKind::kCrc32); }, CopyCrc32Allowed, nullptr,
        true},
    CommandSpec{kCmdCopySha256, "Copy SHA256", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.CopyToClipboard(ExportKind::kSha256); }, CopySha256Allowed,
        nullptr, true},
    CommandSpec{kCmdSelectFailed, "Select Failed", "Select the files that could not be read", "",
        nullptr, nullptr, [](MainFrame& f) { f.SelectFailed(); }, HasFailedRows, nullptr, false},
    CommandSpec{kCmdCompareClipboard, "Compare with Clipboard",
        "Select the rows whose digest is the one on the clipboard", "", nullptr, nullptr,
        [](MainFrame& f) { f.CompareWithClipboard(); }, IdleWithRows, nullptr, false},
    CommandSpec{kCmdOptions, "Options...", "Options", "", nullptr, nullptr,
        [](MainFrame& f) { f.ShowOptions(); }, Idle, nullptr, false},
    CommandSpec{kCmdUppercase, "Show Hash in Uppercase", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.ToggleUppercase(); }, Idle, UppercaseOn, false},
    CommandSpec{kCmdAlwaysOnTop, "Always on Top", "Alays on Top", "Always on Top",
        ":/toolbar/always_on_top.svg", nullptr,
        [](MainFrame& f) { f.ToggleAlwaysOnTop(); }, nullptr, AlwaysOnTopOn, false},
    CommandSpec{kCmdHashMd5, "MD5", "Enable/Disable MD5", "MD5", ":/toolbar/md5.svg", nullptr,
        [](MainFrame& f) { f.ToggleDigest(kDigestMd5); }, Idle, HashMd5On, false},
    CommandSpec{kCmdHashSha1, "SHA1", "Enable/Disable SHA1", "SHA1", ":/toolbar/sha1.svg", nullptr,
        [](MainFrame& f) { f.ToggleDigest(kDigestSha1); }, Idle, HashSha1On, false},
    CommandSpec{kCmdHashCrc32, "CRC32", "Enable/Disable CRC32", "CRC32", ":/toolbar/crc32.svg",
        nullptr, [](MainFrame& f) { f.ToggleDigest(kDigestCrc32); }, Idle, HashCrc32On, false},
    CommandSpec{kCmdHashSha256, "SHA256", "Enable/Disable SHA256", "SHA256",
        ":/toolbar/sha256.svg", nullptr,
        [](MainFrame& f) { f.ToggleDigest(kDigestSha256); }, Sha256Offered, HashSha256On, false},
    CommandSpec{kCmdHelpTopics, "&Help Topics", "", "", nullptr, "F1",
        [](MainFrame& f) { f.OpenHelpTopics(); }, nullptr, nullptr, false},
    CommandSpec{kCmdHomePage, "Dodevovaze Home", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.OpenHomePage(); }, nullptr, nullptr, false},
    CommandSpec{kCmdSupport, "Feedback and Support", "", "", nullptr, nullptr,
        [](MainFrame& f) { f.OpenSupportPage(); }, nullptr, nullptr, false},
    CommandSpec{kCmdAbout, "&About Rizodidiz",
        "Display program information, version number and copyright", "", nullptr, nullptr,
        [](MainFrame& f) { f.ShowAbout(); }, nullptr, nullptr, false},
    CommandSpec{kCmdAboutQt, "About &Qt", "Display the version and licence of Qt", "", nullptr,
        nullptr, [](MainFrame&) { QApplication::aboutQt(); }, nullptr, nullptr, false},
};

const std::array kFileMenu = {
    int{kCmdAddFiles}, int{kCmdAddFolder}, int{kCmdVerify}, int{kCmdAudit}, kSeparator,
    int{kCmdSelectAll}, int{kCmdSelectNone}, kSeparator,
    int{kCmdRemoveSelected}, int{kCmdClearAll}, kSeparator,
    int{kCmdRefresh}, int{kCmdStop}, kSeparator,
    int{kCmdExit}};
const std::array kEditMenu = {
    int{kCmdSave}, int{kCmdCopy}, kSeparator,
    int{kCmdCopyMd5}, int{kCmdCopySha1}, int{kCmdCopyCrc32}, int{kCmdCopySha256}, kSeparator,
    int{kCmdSelectFailed}, int{kCmdCompareClipboard}};
const std::array kOptionsMenu = {
    int{kCmdOptions}, int{kCmdUppercase}, int{kCmdAlwaysOnTop}, kHashTypeSubmenu};
const std::array kHashTypeMenu = {
    int{kCmdHashMd5}, int{kCmdHashSha1}, int{kCmdHashCrc32}, int{kCmdHashSha256}};
const std::array kHelpMenu = {
    int{kCmdHelpTopics}, kSeparator,
    int{kCmdHomePage}, int{kCmdSupport}, kSeparator,
    int{kCmdAbout}, int{kCmdAboutQt}};
const std::array kMainMenus = {
    MenuSpec{"&File", kFileMenu},
    MenuSpec{"&Edit", kEditMenu},
    MenuSpec{"&Options", kOptionsMenu},
    MenuSpec{"&Help", kHelpMenu}};
const std::array kContextMenu = {
    int{kCmdSelectAll}, int{kCmdSelectNone}, kSeparator,
    int{kCmdRemoveSelected}, int{kCmdClearAll}, kSeparator,
    int{kCmdCopy}, int{kCmdSave}, kSeparator,
    int{kCmdCopyMd5}, int{kCmdCopySha1}, int{kCmdCopyCrc32}, int{kCmdCopySha256}};
const std::array kToolbar = {
    int{kCmdAddFiles}, int{kCmdAddFolder}, int{kCmdVerify}, int{kCmdClearAll}, kSeparator,
    int{kCmdRefresh}, int{kCmdStop}, kSeparator,
    int{kCmdSave}, int{kCmdCopy}, kSeparator,
    int{kCmdHashMd5}, int{kCmdHashSha1}, int{kCmdHashCrc32}, int{kCmdHashSha256}, kSeparator,
    int{kCmdAlwaysOnTop}};
// clang-format on

}  // namespace

std::span<const CommandSpec> CommandTable() {
    return kCommands;
}

const CommandSpec* FindCommand(int id) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandSpec& spec) { return spec.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

std::span<const MenuSpec> MainMenus() {
    return kMainMenus;
}
std::span<const int> HashTypeMenu() {
    return kHashTypeMenu;
}
std::span<const int> ContextMenuItems() {
    return kContextMenu;
}
std::span<const int> ToolbarButtons() {
    return kToolbar;
}

}  // namespace rizo
