// SPDX-License-Identifier: MIT
// The audit part of a verification in the window.
#include "verify/verification_audit.h"

#include <sys/stat.h>

#include <cerrno>

namespace rizo {
namespace {

std::vector<std::string> InFolder(const std::vector<std::string>& paths,
                                  const std::string& folder) {
    std::vector<std::string> names;
    names.reserve(paths.size());
    for (const std::string& path : paths) {
        names.push_back(PathInFolder(path, folder).value_or(path));
    }
    return names;
}

}  // namespace

VerificationAudit::VerificationAudit(std::string auditedFolder,
                                     const std::vector<std::string>& found)
    : folder(std::move(auditedFolder)), audit(InFolder(found, folder)) {}

std::string VerificationAudit::Key(std::string_view path) const {
    return PathInFolder(path, folder).value_or(std::string(path));
}

void VerificationAudit::Name(std::string_view path) {
    audit.Name(Key(path));
}

void VerificationAudit::Listed(std::string_view path, const std::function<ListedFile()>& listing) {
    const std::string key = Key(path);
    struct stat facts {};
    if (!audit.Name(key) && ::stat(std::string(path).c_str(), &facts) != 0 && errno == ENOENT) {
        audit.Missing(key, listing());
    }
}

void VerificationAudit::AppendNewFiles(std::vector<std::string>& paths) {
    const std::vector<std::string>& newFiles = audit.NewFiles();
    for (std::size_t index = 0; index < newFiles.size(); ++index) {
        indexOfNewPath.emplace(folder + newFiles[index], index);
        paths.push_back(folder + newFiles[index]);
    }
}

void VerificationAudit::IndexPaths(const std::vector<std::string>& batchPaths) {
    newOfBatchPath.assign(batchPaths.size(), 0);
    for (std::size_t i = 0; i < batchPaths.size(); ++i) {
        if (const auto found = indexOfNewPath.find(batchPaths[i]); found != indexOfNewPath.end()) {
            newOfBatchPath[i] = found->second + 1;
        }
    }
    indexOfNewPath.clear();
}

void VerificationAudit::Bind(const std::vector<int32_t>& batchRows) {
    for (std::size_t i = 0; i < newOfBatchPath.size() && i < batchRows.size(); ++i) {
        if (newOfBatchPath[i] != 0) {
            newOfRow[batchRows[i]] = newOfBatchPath[i] - 1;
            rowOfNew[newOfBatchPath[i] - 1] = batchRows[i];
        }
    }
    std::vector<std::size_t>().swap(newOfBatchPath);
}

std::optional<std::string> VerificationAudit::Judge(int32_t row, const FileEntry& entry) {
    const auto found = newOfRow.find(row);
    if (found == newOfRow.end()) {
        return std::nullopt;
    }
    audit.NewResult(found->second, entry);
    newOfRow.erase(found);
    ++judgedNew;
    return "NEW";
}

void VerificationAudit::MissingRow(int32_t row, std::string_view path) {
    missingRows.emplace_back(row, Key(path));
}

std::vector<std::pair<int32_t, std::string>> VerificationAudit::Settle() {
    audit.Pair();
    std::vector<std::pair<int32_t, std::string>> changed;
    for (const auto& [row, key] : missingRows) {
        const std::optional<std::size_t> place = audit.NewPlaceOf(key);
        if (!place) {
            continue;
        }
        ++movedCount;
        changed.emplace_back(row, "MOVED to " + audit.NewFiles()[*place]);
        if (const auto newRow = rowOfNew.find(*place); newRow != rowOfNew.end()) {
            changed.emplace_back(newRow->second, "MOVED from " + key);
        }
    }
    missingRows.clear();
    return changed;
}

}  // namespace rizo
