// SPDX-License-Identifier: MIT
// rizodidiz-cli -c --audit: the current folder, where the lists' relative names start, walked as
// -r walks a folder; its files that no list names are reported NEW, and a listed file that is
// missing while a new file has its listed digests is reported MOVED there instead.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/checksum_check.h"
#include "filelist/folder_scan.h"
#include "verify/folder_audit.h"
#include "verify/listed_file.h"

namespace rizo {

class CheckAudit {
public:
    // Walks the current folder; the checksum files themselves are never new.
    explicit CheckAudit(const std::vector<std::string>& checksumFiles);

    // The first pass over the lists: each listed file, as listed.
    void Listed(const ListedFile& listed);
    // Between the passes: when a listed file is missing, reads the new files with the digests the
    // missing files are listed with, each once, to find where they went; nothing is read when no
    // listed file is missing. Returns what HashFiles returns, 0 when nothing was read.
    int FindMoves(bool progress);
    // The second pass: where a listed file that is not there went, if it moved.
    std::optional<std::string> MovedTo(const std::string& listedName) const;
    // After the lists' lines: the folders that could not be walked, a "NAME: NEW" line for each
    // new file and the counts. True when nothing is new, moved or unwalked.
    bool Report(CheckVerbosity verbosity);

private:
    // What a listed name is compared with: its name in the folder, or as listed when outside it.
    std::string Key(const std::string& listedName) const;

    std::string folder;
    std::vector<ScanFailure> failures;
    std::optional<FolderAudit> audit;
};

}  // namespace rizo
