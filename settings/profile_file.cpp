// SPDX-License-Identifier: MIT
// Loading a settings file into memory and writing it back atomically.
#include "settings/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "settings/file_replace.h"
#include "settings/shell_util.h"

namespace rizo {
namespace {

// The bytes of a regular file; nullopt for anything else or when it cannot be read completely.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer before the type can be seen.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> text;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        text.emplace();
        text->reserve(static_cast<size_t>(info.st_size));
        char buffer[8192];
        for (;;) {
            ssize_t count = read(fd, buffer, sizeof buffer);
            if (count > 0) {
                text->append(buffer, static_cast<size_t>(count));
            } else if (count == 0) {
                break;
            } else if (errno != EINTR) {
                text.reset();
                break;
            }
        }
    }
    close(fd);
    return text;
}

}  // namespace

bool ProfileFile::Attach(const std::string& path, bool mustExist) {
    path_ = path;
    document_ = IniDocument();
    original_.clear();
    unreadable_ = false;
    if (!ShellUtil::FileExists(path)) {
        return !mustExist;
    }
    auto text = ReadWholeFile(path);
    // A file we cannot read would lose its unknown lines if we wrote over it, and one that is
    // not a regular file is not ours to write.
    unreadable_ = !text;
    if (text) {
        original_ = std::move(*text);
        document_ = IniDocument(original_);
    }
    return true;
}

void ProfileFile::WriteValue(std::string_view section, std::string_view key,
                             std::string_view value) {
    document_.WriteValue(section, key, value);
}

bool ProfileFile::Commit() {
    if (unreadable_) {
        return false;
    }
    RemoveStaleTemporaries(path_);
    const std::string& text = document_.Text();
    if (text == original_) {
        return true;
    }
    return ReplaceFileContents(path_, text);
}

}  // namespace rizo
