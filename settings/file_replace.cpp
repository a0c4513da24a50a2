// SPDX-License-Identifier: MIT
// File replacement through a temporary file and rename(2), or in place where that would harm.
#include "settings/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <optional>

namespace rizo {
namespace {

// Symbolic links allowed in a chain before it counts as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ForCalls(const std::string& folder) {
    return folder.empty() ? "." : folder;
}

// Follows links one by one rather than with realpath(3), which fails on a dangling link: the
// file a link points to is the one to create, so that the link survives.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string link(static_cast<size_t>(info.st_size) + 256, '\0');
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) == link.size()) {
            return path;
        }
        link.resize(static_cast<size_t>(length));
        path = link.starts_with('/') ? link : FolderOf(path) + link;
    }
    return path;
}

// Write permission by access(2) and, so that root too leaves a locked file alone, by the mode.
bool GrantsWrite(const std::string& path, const struct stat& info) {
    if (access(path.c_str(), W_OK) != 0) {
        return false;
    }
    errno = EACCES;
    return (info.st_mode & 0222) != 0;
}

bool FolderTakesNewFiles(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return GrantsWrite(folder, info);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string TemporaryPrefix(const std::string& name) {
    return "." + name + ".";
}

// A fresh file next to the target. O_EXCL with our own names rather than mkstemp, so that a new
// file gets the user's umask instead of mode 0600; the pid in the name tells a stale file.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + TemporaryPrefix(name) + std::to_string(getpid()) + "." +
                   std::to_string(counter++) + ".tmp";
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Gives the new file the old one's owner (first, since a change of owner clears set-id bits)
// and mode. False when the owner cannot be kept.
bool TakeOverIdentity(int fd, const struct stat& old, bool& ownerKept) {
    struct stat fresh {};
    ownerKept = true;
    if (fstat(fd, &fresh) != 0) {
        return false;
    }
    if ((fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) &&
        fchown(fd, old.st_uid, old.st_gid) != 0) {
        ownerKept = false;
        return false;
    }
    return fchmod(fd, old.st_mode & 07777) == 0;
}

// Rewrites the existing file itself. Its space is reserved before anything is overwritten, so
// a full disk fails while the old text is still whole.
bool WriteInPlace(const std::string& target, std::string_view contents) {
    // Without O_NONBLOCK, opening a FIFO that nobody reads would wait forever.
    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool ok = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 && fstat(fd, &info) == 0;
    const bool regular = ok && S_ISREG(info.st_mode);
    if (regular) {
        const auto size = static_cast<off_t>(contents.size());
        const int reserved = size > 0 ? posix_fallocate(fd, 0, size) : 0;
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            errno = reserved;
            ok = false;
        }
        ok = ok && WriteAll(fd, contents) && ftruncate(fd, size) == 0 && fsync(fd) == 0;
    } else if (ok) {
        ok = WriteAll(fd, contents);
    }
    const int failure = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        return false;
    }
    errno = failure;
    return ok;
}

// Writes and renames the temporary file; nullopt when it could not take the old owner, so that
// the caller writes in place instead. Nothing of the temporary file is left in any case.
std::optional<bool> ReplaceThroughTemporary(int fd, const std::string& tempPath,
                                            const std::string& target, std::string_view contents,
                                            const struct stat* old) {
    bool ownerKept = true;
    bool ok = (old == nullptr || TakeOverIdentity(fd, *old, ownerKept)) && WriteAll(fd, contents) &&
              fsync(fd) == 0;
    int failure = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && rename(tempPath.c_str(), target.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        unlink(tempPath.c_str());
        errno = failure;
        return ownerKept ? std::optional<bool>(false) : std::nullopt;
    }
    // Make the rename itself durable; the new file is complete whether or not this succeeds.
    const int folderFd =
        open(ForCalls(FolderOf(target)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

bool Replace(const std::string& path, std::string_view contents) {
    const std::string target = FollowLinks(path);
    const std::string folder = FolderOf(target);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (exists && !GrantsWrite(target, old)) {
        return false;
    }
    // A rename would give a FIFO or a device a plain file's place and cut other hard links off.
    if (exists && (!S_ISREG(old.st_mode) || old.st_nlink > 1)) {
        return WriteInPlace(target, contents);
    }
    std::string tempPath;
    const int fd = FolderTakesNewFiles(ForCalls(folder))
                       ? CreateTemporary(folder, target.substr(folder.size()), tempPath)
                       : -1;
    if (fd < 0) {
        return exists && WriteInPlace(target, contents);
    }
    const std::optional<bool> replaced =
        ReplaceThroughTemporary(fd, tempPath, target, contents, exists ? &old : nullptr);
    return replaced ? *replaced : WriteInPlace(target, contents);
}

// The writer's pid in a name made by CreateTemporary; nullopt for every other name.
std::optional<pid_t> TemporaryOwner(std::string_view entry, std::string_view prefix) {
    if (!entry.starts_with(prefix) || !entry.ends_with(".tmp")) {
        return std::nullopt;
    }
    entry = entry.substr(prefix.size(), entry.size() - prefix.size() - 4);
    const size_t dot = entry.find('.');
    const std::string_view pid = entry.substr(0, dot);
    const std::string_view count = dot == std::string_view::npos ? "" : entry.substr(dot + 1);
    auto digits = [](std::string_view text) {
        return !text.empty() && text.size() < 10 &&
               text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(pid) || !digits(count)) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(std::string(pid)));
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view contents, int* error) {
    if (Replace(path, contents)) {
        return true;
    }
    if (error != nullptr) {
        *error = errno;
    }
    return false;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string target = FollowLinks(path);
    const std::string folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target.substr(folder.size()));
    DIR* listing = opendir(ForCalls(folder).c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        const std::optional<pid_t> owner = TemporaryOwner(entry->d_name, prefix);
        if (owner && *owner != getpid() && kill(*owner, 0) != 0 && errno == ESRCH) {
            unlink((folder + entry->d_name).c_str());
        }
    }
    closedir(listing);
}

}  // namespace rizo
