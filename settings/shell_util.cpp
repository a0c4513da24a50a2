// SPDX-License-Identifier: MIT
// Linux implementation of the platform helpers.
#include "settings/shell_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace rizo::ShellUtil {
namespace {

// An environment variable usable as a base folder: set, non-empty and absolute.
std::string AbsoluteFolderFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

}  // namespace

std::string GetProgramDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(length));
            return path.substr(0, path.rfind('/') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string GetUserDataDirectory(const std::string& subfolder) {
    std::string base = AbsoluteFolderFromEnv("XDG_CONFIG_HOME");
    if (base.empty()) {
        std::string home = AbsoluteFolderFromEnv("HOME");
        if (home.empty()) {
            return {};
        }
        base = WithTrailingSlash(home) + ".config";
    }
    return WithTrailingSlash(WithTrailingSlash(base) + subfolder);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool CreateDirectoryPath(const std::string& path) {
    if (path.size() < 2) {
        return false;
    }
    std::string full = WithTrailingSlash(path);
    for (size_t slash = full.find('/'); slash != std::string::npos;
         slash = full.find('/', slash + 1)) {
        // The empty text before a leading "/" is the root, which always exists.
        std::string prefix = full.substr(0, slash);
        if (prefix.empty() || FileExists(prefix)) {
            continue;
        }
        // Another process may create the same folder between the test and the call.
        if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

}  // namespace rizo::ShellUtil
