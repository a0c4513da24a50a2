// Hashing one file for the command line.
#include "cli/file_digests.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace rizo {

namespace {

// The engine only says that Open failed; the file system says why.
std::string OpenFailureReason(const std::string& path, int openError) {
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

std::string MissingDigest(const HashSelection& selection, const FileDigests& digests) {
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

bool HashFile(DigestEngine& engine, const std::string& path, const HashSelection& selection,
              bool uppercase, FileDigests& digests, std::string& reason) {
    errno = 0;
    if (!engine.Open(path, selection)) {
        reason = OpenFailureReason(path, errno);
        return false;
    }
    float progress = 0;
    bool atEnd = false;
    while (!atEnd) {
        engine.ReadNext(progress, atEnd);
    }
    if (engine.ReadFailed()) {
        reason = std::string("read error: ") + std::strerror(errno);
        engine.Close();
        return false;
    }
    digests = {engine.DigestText(kCalgMd5, uppercase), engine.DigestText(kCalgSha1, uppercase),
               engine.CrcText(uppercase), engine.DigestText(kCalgSha256, uppercase)};
    engine.Close();
    std::string missing = MissingDigest(selection, digests);
    if (!missing.empty()) {
        reason = missing + " could not be computed";
        return false;
    }
    return true;
}

}  // namespace rizo
