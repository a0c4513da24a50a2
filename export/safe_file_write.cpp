// Temporary file, full write, fsync, rename: a failed save never truncates the old file.
#include "export/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <system_error>

namespace rizo {
namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

// The file that will be replaced: the target of a link, so that saving through a link keeps it.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new, empty file with a random name in `folder`; -1 and errno on failure.
int CreateTemporary(const std::string& folder, const std::string& target, std::string& tempPath) {
    const std::string base = target.substr(target.rfind('/') + 1);
    std::random_device seed;
    std::mt19937 random(seed());
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        tempPath = folder + "/." + base + "." + std::to_string(random() % 1000000000u) + ".tmp";
        int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// 0 when every byte reached the disk, else the errno of the failing step.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return fsync(fd) == 0 ? 0 : errno;
}

// Gives the new file the old file's permissions; a new name keeps the umask's.
int CopyMode(int fd, const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) {
        return 0;
    }
    return fchmod(fd, info.st_mode & 07777) == 0 ? 0 : errno;
}

}  // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error) {
    if (path.empty()) {
        error = "Could not save the file: no file name was given.";
        return false;
    }
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
    std::string tempPath;
    int fd = CreateTemporary(folder, target, tempPath);
    if (fd < 0) {
        error = "Could not save \"" + path + "\": " + Reason(errno) + ".";
        return false;
    }
    int failure = CopyMode(fd, target);
    if (failure == 0) {
        failure = WriteAll(fd, bytes);
    }
    if (close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && rename(tempPath.c_str(), target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        unlink(tempPath.c_str());
        error = "Could not save \"" + path + "\": " + Reason(failure) + ".";
        return false;
    }
    // Makes the rename itself durable; the new contents are already on disk.
    int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

}  // namespace rizo
