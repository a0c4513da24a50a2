// SPDX-License-Identifier: MIT
// Command identifiers shared by the menus, the toolbar, the shortcut keys and the handlers.
#pragma once

namespace rizo {

enum CommandId : int {
    kCmdAddFiles = 1401,
    kCmdAddFolder = 1402,
    kCmdClearAll = 1403,
    kCmdRemoveSelected = 1404,
    kCmdRefresh = 1405,
    kCmdStop = 1406,
    kCmdSelectAll = 1407,
    kCmdSelectNone = 1408,
    kCmdVerify = 1409,
    kCmdAudit = 1410,
    kCmdSave = 1420,
    kCmdCopyMd5 = 1421,
    kCmdCopySha1 = 1422,
    kCmdCopyCrc32 = 1423,
    kCmdCopySha256 = 1424,
    kCmdSelectFailed = 1425,
    kCmdCompareClipboard = 1426,
    kCmdHashMd5 = 1430,
    kCmdHashSha1 = 1431,
    kCmdHashCrc32 = 1432,
    kCmdHashSha256 = 1433,
    kCmdOptions = 1440,
    kCmdUppercase = 1441,
    kCmdAlwaysOnTop = 1442,
    kCmdHelpTopics = 1450,
    kCmdHomePage = 1451,
    kCmdSupport = 1452,
    kCmdAboutQt = 1453,
    kCmdCopy = 57634,
    kCmdAbout = 57664,
    kCmdExit = 57665,
};

}  // namespace rizo
