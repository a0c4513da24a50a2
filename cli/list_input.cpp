// SPDX-License-Identifier: MIT
// A checksum list read twice.
#include "cli/list_input.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace rizo {

namespace {

// A pipe's bytes are gone once read; a terminal's or a socket's as well.
bool ReadableAgain(int fd) {
    struct stat facts {};
    return ::fstat(fd, &facts) == 0 &&
           (S_ISREG(facts.st_mode) || S_ISDIR(facts.st_mode) || S_ISBLK(facts.st_mode));
}

}  // namespace

ListInput::ListInput(std::string listArgument)
    : argument(std::move(listArgument)), standardInput(argument == "-") {}

ListInput::~ListInput() {
    Close();
    if (copy >= 0) {
        ::close(copy);
    }
}

int ListInput::Open() {
    return readings++ == 0 ? OpenFirst() : OpenAgain();
}

int ListInput::OpenAgain() {
    if (failure != 0) {
        errno = failure;
        return -1;
    }
    if (copy >= 0) {
        return ::lseek(copy, 0, SEEK_SET) == 0 ? copy : -1;
    }
    if (standardInput) {
        return ::lseek(STDIN_FILENO, start, SEEK_SET) == start ? STDIN_FILENO : -1;
    }
    return opened = ::open(argument.c_str(), O_RDONLY | O_CLOEXEC);
}

int ListInput::OpenFirst() {
    const int source =
        standardInput ? STDIN_FILENO : ::open(argument.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        failure = errno;
        return -1;
    }
    if (ReadableAgain(source)) {
        if (!standardInput) {
            return opened = source;
        }
        start = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
        if (start >= 0) {
            return STDIN_FILENO;
        }
    }
    if (!Copy(source)) {
        failure = errno;
        if (copy >= 0) {
            ::close(std::exchange(copy, -1));
        }
    }
    if (!standardInput) {
        ::close(source);
    }
    errno = failure;
    return copy;
}

void ListInput::Close() {
    if (opened >= 0) {
        ::close(std::exchange(opened, -1));
    }
    // The copy is needed no more once read twice.
    if (readings >= 2 && copy >= 0) {
        ::close(std::exchange(copy, -1));
    }
}

bool ListInput::Copy(int from) {
    copy = ::memfd_create("checksum list", MFD_CLOEXEC);
    if (copy < 0) {
        return false;
    }
    char piece[1 << 16];
    for (;;) {
        const ssize_t count = ::read(from, piece, sizeof piece);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            copyError = count < 0 ? errno : 0;
            break;
        }
        for (ssize_t written = 0; written < count;) {
            const ssize_t now =
                ::write(copy, piece + written, static_cast<std::size_t>(count - written));
            if (now < 0 && errno == EINTR) {
                continue;
            }
            if (now <= 0) {
                return false;
            }
            written += now;
        }
    }
    return ::lseek(copy, 0, SEEK_SET) == 0;
}

}  // namespace rizo
