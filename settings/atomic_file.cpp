// Atomic file replacement through a temporary file and rename(2).
#include "settings/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace rizo {
namespace {

bool IsWritable(const std::string& path, const struct stat& info) {
    if (access(path.c_str(), W_OK) != 0) {
        return false;
    }
    errno = EACCES;
    return (info.st_mode & 0222) != 0;
}

// The link's target when `path` is a symbolic link, so that the link survives the rename.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target = resolved;
    std::free(resolved);
    return target;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t written = write(fd, data.data(), data.size());
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

// Creates a fresh file next to the target. O_EXCL with our own names, rather than mkstemp, so
// that a new file gets the user's umask instead of mode 0600.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + "." + std::to_string(getpid()) + "." +
                   std::to_string(counter++) + ".tmp";
        int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteTemporary(int fd, std::string_view contents, const struct stat* old) {
    if (old != nullptr && fchmod(fd, old->st_mode & 07777) != 0) {
        return false;
    }
    return WriteAll(fd, contents) && fsync(fd) == 0;
}

bool Replace(const std::string& path, std::string_view contents) {
    std::string target = ResolveTarget(path);
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = target.substr(folder.size());
    std::string folderForCalls = folder.empty() ? "." : folder;

    struct stat folderInfo {};
    if (stat(folderForCalls.c_str(), &folderInfo) != 0) {
        return false;
    }
    if (!S_ISDIR(folderInfo.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    if (!IsWritable(folderForCalls, folderInfo)) {
        return false;
    }
    struct stat oldInfo {};
    bool hasOld = stat(target.c_str(), &oldInfo) == 0;
    if (hasOld && !S_ISREG(oldInfo.st_mode)) {
        errno = S_ISDIR(oldInfo.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (hasOld && !IsWritable(target, oldInfo)) {
        return false;
    }

    std::string tempPath;
    int fd = CreateTemporary(folder, name, tempPath);
    if (fd < 0) {
        return false;
    }
    int failure = WriteTemporary(fd, contents, hasOld ? &oldInfo : nullptr) ? 0 : errno;
    if (close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && rename(tempPath.c_str(), target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        unlink(tempPath.c_str());
        errno = failure;
        return false;
    }
    // Make the rename itself durable; the new file is complete whether or not this succeeds.
    int folderFd = open(folderForCalls.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view contents, int* error) {
    if (Replace(path, contents)) {
        return true;
    }
    if (error != nullptr) {
        *error = errno;
    }
    return false;
}

}  // namespace rizo
