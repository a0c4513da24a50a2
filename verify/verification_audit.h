// SPDX-License-Identifier: MIT
// The audit part of a verification in the window: the files under the checksum file's folder that
// no list names are hashed in the same batch and judged NEW, and once the batch has ended a listed
// file that is missing while a new file has its listed digests is shown MOVED there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/file_entry.h"
#include "verify/folder_audit.h"
#include "verify/listed_file.h"

namespace rizo {

class VerificationAudit {
public:
    // `found`: the paths of the files under `folder` (absolute, ending with '/').
    VerificationAudit(std::string folder, const std::vector<std::string>& found);

    // A checksum file or a listed file, by its absolute path: it is not new. A listed file that is
    // not there may have moved: `listing` gives the digests listed for it.
    void Name(std::string_view path);
    void Listed(std::string_view path, const std::function<ListedFile()>& listing);
    // Once every list is named: appends the paths of the new files, to be hashed.
    void AppendNewFiles(std::vector<std::string>& paths);

    // Which of the batch's paths are new files, and then their rows, as Verification ties listed
    // paths to rows.
    void IndexPaths(const std::vector<std::string>& batchPaths);
    void Bind(const std::vector<int32_t>& batchRows);
    // "NEW" for a new file's row; nothing for another.
    std::optional<std::string> Judge(int32_t row, const FileEntry& entry);
    // A listed file's row judged missing, hashed under `path`.
    void MissingRow(int32_t row, std::string_view path);

    // Once the batch has ended: the rows whose verdicts change, "MOVED to NAME" for a missing file
    // that moved and "MOVED from NAME" for its new place, names relative to the folder.
    std::vector<std::pair<int32_t, std::string>> Settle();
    // New files judged that are no missing file's new place, and missing files that moved.
    uint64_t NewCount() const { return judgedNew - movedCount; }
    uint64_t MovedCount() const { return movedCount; }

private:
    // The name in the folder, or the absolute path of a file outside it.
    std::string Key(std::string_view path) const;

    const std::string folder;
    FolderAudit audit;
    std::unordered_map<std::string, std::size_t> indexOfNewPath;
    // For each of the batch's paths 1 + the index of its new file, 0 for another; then by row.
    std::vector<std::size_t> newOfBatchPath;
    std::unordered_map<int32_t, std::size_t> newOfRow;
    std::unordered_map<std::size_t, int32_t> rowOfNew;
    std::vector<std::pair<int32_t, std::string>> missingRows;
    uint64_t judgedNew = 0;
    uint64_t movedCount = 0;
};

}  // namespace rizo
