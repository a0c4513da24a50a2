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

#include "engine/digest_engine.h"

namespace rizo {

namespace {

// Scratch space of a reader thread; what it reads is thrown away once in the page cache.
constexpr std::size_t kBufferSize = 64 * 1024;

// Opens a small regular file into `opened`; otherwise says why it is not read ahead, `opened.fd`
// left -1.
ReadAhead::Found OpenSmall(const std::string& path, ReadAhead::Opened& opened) {
    // Without O_NONBLOCK a FIFO would wait for a writer. The kind is taken from what was opened,
    // so a FIFO put in the file's place meanwhile is never read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return ReadAhead::Found::kNothing;
    }
    struct statx& info = opened.info;
    ReadAhead::Found found = ReadAhead::Found::kNothing;
    if (::statx(fd, "", AT_EMPTY_PATH, DigestEngine::kStatusMask, &info) == 0 &&
        (info.stx_mask & (STATX_TYPE | STATX_SIZE)) == (STATX_TYPE | STATX_SIZE) &&
        S_ISREG(info.stx_mode) && info.stx_size > 0) {
        found = info.stx_size > ReadAhead::kLargest ? ReadAhead::Found::kLarge
                                                    : ReadAhead::Found::kFetched;
    }
    if (found != ReadAhead::Found::kFetched) {
        ::close(fd);
        return found;
    }
    opened.fd = fd;
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

ReadAhead::ReadAhead(PathLookup lookup) : pathOf(std::move(lookup)) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard guard(lock);
        quit = true;
    }
    changed.notify_all();
    landed.notify_all();
    // No reader is added once quit is set.
    for (std::thread& reader : readers) {
        reader.join();
    }
    for (const auto& [index, opened] : kept) {
        ::close(opened.fd);
    }
}

std::optional<ReadAhead::Opened> ReadAhead::Take(std::size_t index) {
    Guard guard(lock);
    landed.wait(guard, [this, index] { return quit || !inFlight.contains(index); });
    const auto found = kept.find(index);
    if (found == kept.end()) {
        return std::nullopt;
    }
    const Opened opened = found->second;
    kept.erase(found);
    // Room for one more file kept open.
    if (waiting > 0 && Claimable()) {
        changed.notify_one();
    }
    return opened;
}

void ReadAhead::Keep(std::size_t index, const Opened& opened) {
    // A file behind the workers is kept all the same: its worker is waiting for it.
    if (!kept.try_emplace(index, opened).second) {
        ::close(opened.fd);
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
    // Several workers report the files they begin, not always in order. A reader never claims a
    // file a worker has begun, which would open it twice.
    position = std::max(position, index + 1);
    if (barrier != kNone && index > barrier) {
        barrier = kNone;
    }
    if (waiting > 0 && Claimable()) {
        changed.notify_one();
    }
}

bool ReadAhead::Claimable() {
    next = std::max(next, position);
    return !quit && next < count && next < position + kFilesAhead && barrier == kNone &&
           kept.size() + inFlight.size() < kKeptOpen;
}

std::size_t ReadAhead::Claim() {
    const std::size_t index = next;
    inFlight.insert(index);
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
    Opened opened;
    std::string path;
    const bool listed = pathOf(index, path);
    Found found = listed ? OpenSmall(path, opened) : Found::kNothing;
    if (opened.fd >= 0) {
        found = Fetch(opened.fd, opened.info.stx_size, buffer);
    }
    guard.lock();
    if (!listed) {
        count = std::min(count, index);
    }
    if (opened.fd >= 0) {
        Keep(index, opened);
    }
    Record(index, found);
}

void ReadAhead::ReadMany(Guard& guard) {
    std::vector<int> files;
    std::vector<std::pair<std::size_t, Opened>> read;
    while (files.size() < BatchReads::kDepth && Claimable()) {
        const std::size_t index = Claim();
        guard.unlock();
        Opened opened;
        std::string path;
        const bool listed = pathOf(index, path);
        const Found found = listed ? OpenSmall(path, opened) : Found::kNothing;
        guard.lock();
        if (!listed) {
            count = std::min(count, index);
        }
        if (opened.fd >= 0) {
            files.push_back(opened.fd);
            read.emplace_back(index, opened);
        } else {
            Record(index, found);
        }
    }
    guard.unlock();
    const std::size_t inMemory = batchReads->ReadStarts(files);
    guard.lock();
    for (const auto& [index, opened] : read) {
        Keep(index, opened);
        inFlight.erase(index);
    }
    landed.notify_all();
    RecordMany(files.size(), inMemory);
    // A ring that retired leaves the reading to threads, as many as without io_uring.
    AddReadersWithoutRing();
}

void ReadAhead::Record(std::size_t index, Found found) {
    inFlight.erase(index);
    landed.notify_all();
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
