// What the command line says about a hashed file that has no digests to show.
#include "cli/file_report.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "cli/cli_batch.h"

namespace rizo {

namespace {

// The engine only says that Open failed; the file system says why.
std::string OpenFailureReason(const std::string& path, int openError) {
    if (path == kStandardInputName) {
        return std::strerror(openError);
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return std::strerror(EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return "not a regular file";
    }
    return openError != 0 ? std::strerror(openError) : "no digest object could be created";
}

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
    switch (entry.outcome) {
        case FileOutcome::kNotOpened:
            return OpenFailureReason(entry.path, entry.errorNumber);
        case FileOutcome::kReadFailed:
            return std::string("read error: ") + std::strerror(entry.errorNumber);
        case FileOutcome::kStopped:
            return "stopped";
        case FileOutcome::kRead:
            break;
    }
    const std::string missing = MissingDigest(selection, entry);
    return missing.empty() ? missing : missing + " could not be computed";
}

}  // namespace rizo
