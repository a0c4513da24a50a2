// SPDX-License-Identifier: MIT
// Small files of a batch brought into memory ahead of the hashers.
#include "engine/read_ahead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace rizo {

namespace {

// Scratch space of a reader thread; what it reads is thrown away once in the page cache.
constexpr std::size_t kBufferSize = 64 * 1024;

// Opens a small regular file into `fd`; otherwise says why it is not read ahead, `fd` left -1.
ReadAhead::Found OpenSmall(const std::string& path, int& fd, uint64_t& size) {
    // Without O_NONBLOCK a FIFO would wait for a writer. The kind is taken from what was opened,
    // so a FIFO put in the file's place meanwhile is never read.
    const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        return ReadAhead::Found::kNothing;
    }
    struct statx info {};
    ReadAhead::Found found = ReadAhead::Found::kNothing;
    if (::statx(opened, "", AT_EMPTY_PATH, STATX_TYPE | STATX_SIZE, &info) == 0 &&
        S_ISREG(info.stx_mode) && info.stx_size > 0) {
        found = info.stx_size > ReadAhead::kLargest ? ReadAhead::Found::kLarge
                                                    : ReadAhead::Found::kFetched;
    }
    if (found != ReadAhead::Found::kFetched) {
        ::close(opened);
        return found;
    }
    fd = opened;
    size = info.stx_size;
    return found;
}

ReadAhead::Found Fetch(int fd, uint64_t size, std::span<char> buffer) {
    // A read that may not wait returns only bytes already in memory: getting the whole first
    // buffer's worth says the file is there, and then a warm file costs this one call.
    iovec first{buffer.data(), std::min<uint64_t>(size, buffer.size())};
    const ssize_t got = ::preadv2(fd, &first, 1, 0, RWF_NOWAIT);
    if (got == static_cast<ssize_t>(first.iov_len)) {
        return ReadAhead::Found::kInMemory;
    }
    for (uint64_t offset = got > 0 ? static_cast<uint64_t>(got) : 0; offset < size;) {
        const ssize_t bytes =
            ::pread(fd, buffer.data(), std::min<uint64_t>(size - offset, buffer.size()),
                    static_cast<off_t>(offset));
        if (bytes < 0 && errno == EINTR) {
            continue;
        }
        if (bytes <= 0) {
            break;
        }
        offset += static_cast<uint64_t>(bytes);
    }
    return ReadAhead::Found::kFetched;
}

}  // namespace

ReadAhead::ReadAhead(const std::vector<std::string>& paths, std::size_t fileCount)
    : queue(paths), count(std::min(fileCount, paths.size())) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard guard(lock);
        quit = true;
    }
    changed.notify_all();
    // No reader is added once quit is set.
    for (std::thread& reader : readers) {
        reader.join();
    }
}

void ReadAhead::Start() {
    std::lock_guard guard(lock);
    AddReader();
}

void ReadAhead::AddReader() {
    try {
        readers.emplace_back(&ReadAhead::Main, this);
    } catch (const std::system_error&) {
        // Fewer reads in flight; the hashers read what nobody read ahead.
    }
}

void ReadAhead::Reached(std::size_t index) {
    std::lock_guard guard(lock);
    // Several workers report the files they begin, not always in order.
    position = std::max(position, index);
    if (barrier != kNone && index > barrier) {
        barrier = kNone;
    }
    if (waiting > 0 && Claimable()) {
        changed.notify_one();
    }
}

bool ReadAhead::Claimable() {
    next = std::max(next, position);
    return !quit && next < count && next < position + kFilesAhead && barrier == kNone;
}

std::size_t ReadAhead::Claim() {
    const std::size_t index = next;
    next += sampling ? kSampleStride : 1;
    // Each reader that leaves more to claim wakes the next, so a window that opened wide (after
    // a large file, or when sampling ends) fills without the batch's thread's help.
    if (waiting > 0 && Claimable()) {
        changed.notify_one();
    }
    return index;
}

void ReadAhead::Main() {
    std::vector<char> buffer(kBufferSize);
    Guard guard(lock);
    while (!quit) {
        if (!Claimable()) {
            ++waiting;
            changed.wait(guard);
            --waiting;
        } else if (!sampling && batchReads->Ready()) {
            ReadMany(guard);
        } else {
            ReadOne(guard, buffer);
        }
    }
}

void ReadAhead::ReadOne(Guard& guard, std::span<char> buffer) {
    const std::size_t index = Claim();
    guard.unlock();
    int fd = -1;
    uint64_t size = 0;
    Found found = OpenSmall(queue[index], fd, size);
    if (fd >= 0) {
        found = Fetch(fd, size, buffer);
        ::close(fd);
    }
    guard.lock();
    Record(index, found);
}

void ReadAhead::ReadMany(Guard& guard) {
    std::vector<int> files;
    while (files.size() < BatchReads::kDepth && Claimable()) {
        const std::size_t index = Claim();
        guard.unlock();
        int fd = -1;
        uint64_t size = 0;
        const Found found = OpenSmall(queue[index], fd, size);
        guard.lock();
        if (fd >= 0) {
            files.push_back(fd);
        } else {
            Record(index, found);
        }
    }
    guard.unlock();
    const std::size_t inMemory = batchReads->ReadStarts(files);
    for (const int fd : files) {
        ::close(fd);
    }
    guard.lock();
    RecordMany(files.size(), inMemory);
    // A ring that retired leaves the reading to threads, as many as without io_uring.
    AddReadersWithoutRing();
}

void ReadAhead::Record(std::size_t index, Found found) {
    switch (found) {
        case Found::kLarge:
            if (index >= position) {
                barrier = std::min(barrier, index);
            }
            break;
        case Found::kInMemory:
            RecordMany(1, 1);
            break;
        case Found::kFetched:
            RecordMany(1, 0);
            if (sampling) {
                // The files the samples stepped over are read too.
                next = std::min(next, index + 1);
                StartReading();
            }
            break;
        case Found::kNothing:
            break;
    }
}

void ReadAhead::RecordMany(std::size_t read, std::size_t inMemory) {
    if (read == 0) {
        return;
    }
    findsInMemory = inMemory == read ? findsInMemory + read : 0;
    if (findsInMemory >= kFindsToRest) {
        sampling = true;
    }
}

void ReadAhead::StartReading() {
    sampling = false;
    if (batchReads == nullptr) {
        batchReads = std::make_unique<BatchReads>();
    }
    AddReadersWithoutRing();
}

void ReadAhead::AddReadersWithoutRing() {
    while (!batchReads->Ready() && readers.size() < kReaders && !quit) {
        AddReader();
    }
}

}  // namespace rizo
