// SPDX-License-Identifier: MIT
// What the command line says about a hashed file that has no digests to show.
#include "cli/file_report.h"

#include "cli/digest_names.h"

namespace rizo {

namespace {

std::string MissingDigest(const HashSelection& selection, const FileEntry& digests) {
    for (const DigestName& digest : kDigestNames) {
        if (selection.*digest.fields.chosen && (digests.*digest.fields.text).empty()) {
            return TagName(digest, selection);
        }
    }
    return {};
}

}  // namespace

std::string FailureReason(const FileEntry& entry, const HashSelection& selection) {
    // The system's text alone, as md5sum words a failed read.
    if (entry.outcome == FileOutcome::kReadFailed) {
        return ErrorText(entry.errorNumber);
    }
    if (entry.outcome != FileOutcome::kRead) {
        return OutcomeReason(entry);
    }
    const std::string missing = MissingDigest(selection, entry);
    return missing.empty() ? missing : missing + " could not be computed";
}

}  // namespace rizo
