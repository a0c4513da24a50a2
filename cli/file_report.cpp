// SPDX-License-Identifier: MIT
// What the command line says about a hashed file that has no digests to show.
#include "cli/file_report.h"

namespace rizo {

namespace {

std::string MissingDigest(const HashSelection& selection, const FileEntry& digests) {
    if (selection.md5 && digests.md5.empty()) {
        return "MD5";
    }
    if (selection.sha1 && digests.sha1.empty()) {
        return "SHA1";
    }
    if (selection.crc32 && digests.crc32.empty()) {
        return "CRC32";
    }
    if (selection.sha256 && digests.sha256.empty()) {
        return "SHA256";
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
