// SPDX-License-Identifier: MIT
// The words for a file that has no digests.
#include "engine/file_entry.h"

#include <cerrno>
#include <cstring>

namespace rizo {

std::string ErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENAMETOOLONG:
            return "path too long";
        case EAGAIN:
            return "would block";
        default:
            return std::strerror(errorNumber);
    }
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
        case FileOutcome::kStopped:
            return "stopped before the end";
        case FileOutcome::kNotFinished:
            return "not finished: a read did not return after Stop";
        case FileOutcome::kRead:
            break;
    }
    return {};
}

}  // namespace rizo
