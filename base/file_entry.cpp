// SPDX-License-Identifier: MIT
// The words for a file that has no digests.
#include "base/file_entry.h"

#include "base/digest_kind.h"

#include <cerrno>
#include <cstring>

namespace rizo {

std::string ErrorText(int errorNumber) {
    // Files are opened and read without waiting; a file that would make a read wait (a terminal)
    // is never read, which the system's text for EAGAIN does not say.
    return errorNumber == EAGAIN ? "would block" : std::strerror(errorNumber);
}

void ClearDigests(FileEntry& entry) {
    for (const DigestFields& digest : kDigestFields) {
        (entry.*digest.text).clear();
    }
}

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string OutcomeReason(FileOutcome outcome, int errorNumber) {
    switch (outcome) {
        case FileOutcome::kNotOpened:
            return errorNumber != 0 ? ErrorText(errorNumber) : "no digest object could be created";
        case FileOutcome::kNotRegular:
            return errorNumber != 0 ? ErrorText(errorNumber) : "not a regular file";
        case FileOutcome::kReadFailed:
            return "read error: " + ErrorText(errorNumber);
        case FileOutcome::kChanged:
            return "changed while being read";
        case FileOutcome::kShort:
            return "shorter than the bytes to read";
        case FileOutcome::kStopped:
            return "stopped before the end";
        case FileOutcome::kNotFinished:
            return "not finished: a read did not return after Stop";
        case FileOutcome::kRead:
            break;
    }
    return {};
}

std::string OutcomeReason(const FileEntry& entry) {
    if (entry.outcome == FileOutcome::kShort) {
        return "shorter than " + std::to_string(entry.size) + " bytes";
    }
    return OutcomeReason(entry.outcome, entry.errorNumber);
}

}  // namespace rizo
