// SPDX-License-Identifier: MIT
// Digests and file facts of one file at a time.
#include "engine/digest_engine.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <initializer_list>
#include <new>
#include <vector>

#include "base/digest_kind.h"
#include "base/value_format.h"
#include "engine/block_device.h"
#include "engine/crc32.h"
#include "engine/openssl_digest_service.h"

namespace rizo {

namespace {

bool OffersAny(const DigestService& service) {
    for (DigestKind algorithm : {DigestKind::kMd5, DigestKind::kSha1, DigestKind::kSha256}) {
        if (service.Offers(algorithm)) {
            return true;
        }
    }
    return false;
}

// BLAKE2b's length in bytes; 0, which no digest has, for a length in bits that is none of 8 to
// 512 in steps of 8.
std::size_t Blake2bBytes(int bits) {
    return bits >= 8 && bits <= 512 && bits % 8 == 0 ? static_cast<std::size_t>(bits / 8) : 0;
}

float Percent(uint64_t done, uint64_t total) {
    // A file may grow after its size was taken (or report size 0, as /proc files do).
    if (total == 0 || done >= total) {
        return 100.0f;
    }
    return static_cast<float>(static_cast<long double>(done) * 100.0L /
                              static_cast<long double>(total));
}

void TimeTexts(const struct statx& info, std::string& modified, std::string& created) {
    if ((info.stx_mask & STATX_MTIME) != 0) {
        modified = FormatFileTime(static_cast<std::time_t>(info.stx_mtime.tv_sec));
    }
    // Only the birth time is a creation time; the change time (ctime) is something else. Image
    // builders leave a birth time of exactly 0 on the files they write: that means unknown, not
    // 1970, so the cell stays empty as where the file system keeps no birth time.
    const bool born = info.stx_btime.tv_sec != 0 || info.stx_btime.tv_nsec != 0;
    if ((info.stx_mask & STATX_BTIME) != 0 && born) {
        created = FormatFileTime(static_cast<std::time_t>(info.stx_btime.tv_sec));
    }
}
constexpr unsigned kFactsMask = STATX_SIZE | STATX_MTIME | STATX_CTIME;

// The kernel's own file systems make a file's content when it is read: the size they report
// (4096 for every sysfs attribute) is not its length.
bool OnPseudoFileSystem(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) {
        return false;
    }
    const auto type = static_cast<unsigned long>(info.f_type);
    for (const unsigned long magic : std::initializer_list<unsigned long>{
             PROC_SUPER_MAGIC, SYSFS_MAGIC, DEBUGFS_MAGIC, TRACEFS_MAGIC, SECURITYFS_MAGIC,
             CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC, BPF_FS_MAGIC, PSTOREFS_MAGIC,
             EFIVARFS_MAGIC}) {
        if (type == magic) {
            return true;
        }
    }
    return false;
}

}  // namespace

const unsigned DigestEngine::kStatusMask = STATX_TYPE | kFactsMask | STATX_BTIME;

int OsClass(const DigestService& service) {
    return service.Offers(DigestKind::kSha256) ? 3 : 1;
}

int OsClass() {
    return OsClass(*CreateOpenSslDigestService());
}

DigestEngine::DigestEngine() : DigestEngine(CreateOpenSslDigestService()) {}

DigestEngine::DigestEngine(std::unique_ptr<DigestService> service)
    : provider(std::move(service)),
      lanes([this](DigestLanes::Digest digest, const unsigned char* data, std::size_t count) {
          return FeedDigest(digest, data, count);
      }) {}

DigestEngine::~DigestEngine() {
    Close();
}

bool DigestEngine::AcquireProvider(bool useBaseProvider, [[maybe_unused]] bool usePrototypeName) {
    if (ready) {
        return true;
    }
    if (provider == nullptr || !OffersAny(*provider)) {
        return false;
    }
    buffer.reset(new (std::nothrow) Page[2 * kPieceSize / sizeof(Page)]);
    if (buffer == nullptr) {
        return false;
    }
    baseProvider = useBaseProvider;
    ready = true;
    return true;
}

bool DigestEngine::Open(const std::string& path, const HashSelection& selection) {
    return Begin(selection, [this, &path] {
        return NamesStandardInput(path) ? OpenStandardInput() : OpenRegularFile(path);
    });
}

bool DigestEngine::Adopt(int fd, const struct ::statx& info, const HashSelection& selection) {
    if (!ready) {
        ::close(fd);
        return false;
    }
    return Begin(selection, [this, fd, &info] { return TakeOpened(fd, info); });
}

bool DigestEngine::Begin(const HashSelection& selection, const std::function<bool()>& openFile) {
    if (!ready) {
        return false;
    }
    Close();
    fileSize = 0;
    bytesDone = 0;
    createdText.clear();
    modifiedText.clear();
    readFailed = false;
    changed = false;
    wholeInFirstRead = false;
    notRegular = false;
    checkFacts = false;
    shortOfLimit = false;
    blockDevice = false;
    wanted = 0;
    if (!openFile()) {
        return false;
    }
    if (byteLimit != kWhole) {
        // A size taken at open that falls short ends the file before a byte is read; a file
        // without one (a pipe, most of procfs) tells at its end.
        shortOfLimit = fileSize != 0 && fileSize < byteLimit;
        fileSize = byteLimit;
    }
    if (!CreateHashes(selection)) {
        Close();
        wanted = 0;
        errno = 0;
        return false;
    }
    crc = 0;
    lanes.Plan(wanted);
    return true;
}

bool DigestEngine::CreateHashes(const HashSelection& selection) {
    wanted = selection.crc32 ? DigestLanes::kCrc32 : 0u;
    for (const DigestFields& digest : kDigestFields) {
        // CRC32 is the engine's own, and the base provider offers no SHA256.
        if (digest.kind == DigestKind::kCrc32 || !(selection.*digest.chosen) ||
            (digest.kind == DigestKind::kSha256 && baseProvider)) {
            continue;
        }
        const DigestLanes::Digest bit = DigestLanes::BitOf(digest.kind);
        std::unique_ptr<HashObject>& hash = HashOf(bit);
        hash = provider->CreateHash(digest.kind, Blake2bBytes(selection.blake2bBits));
        if (hash != nullptr) {
            wanted |= bit;
        } else if (digest.kind != DigestKind::kSha256) {
            // SHA256 alone is dropped for the file; without any other the file fails.
            return false;
        }
    }
    return true;
}

bool DigestEngine::OpenRegularFile(const std::string& path) {
    // Without O_NONBLOCK opening a FIFO would wait for a writer; a FIFO or socket is refused
    // before a byte is read. A character device (/dev/null) is read to its end, as
    // coreutils reads it; one that honours O_NONBLOCK (a terminal) fails with EAGAIN instead of
    // waiting for input.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A socket, or a device without a driver, cannot be opened at all: it is still a file
        // that is not regular. Where nothing is found there is nothing more to ask, which spares
        // a lookup for each missing file of a checksum list.
        const int error = errno;
        struct stat kind {};
        notRegular = error != ENOENT && error != ENOTDIR && ::stat(path.c_str(), &kind) == 0 &&
                     !S_ISREG(kind.st_mode);
        errno = !notRegular ? error : S_ISDIR(kind.st_mode) ? EISDIR : 0;
        return false;
    }
    // One statx gives kind, size and both times: small files make every call count.
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, kStatusMask, &info) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    return TakeOpened(fd, info);
}

bool DigestEngine::TakeOpened(int fd, const struct ::statx& info) {
    if ((info.stx_mask & (STATX_TYPE | STATX_SIZE)) != (STATX_TYPE | STATX_SIZE)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    device = makedev(info.stx_dev_major, info.stx_dev_minor);
    if (S_ISCHR(info.stx_mode)) {
        // A device's times move as others use it: only its end tells that it was read.
        TakeFile(fd, 0);
        return true;
    }
    if (S_ISBLK(info.stx_mode)) {
        return TakeBlockDevice(fd, info);
    }
    if (!S_ISREG(info.stx_mode)) {
        ::close(fd);
        notRegular = true;
        errno = S_ISDIR(info.stx_mode) ? EISDIR : 0;
        return false;
    }
    TakeFile(fd, info.stx_size);
    if (timeTexts) {
        TimeTexts(info, modifiedText, createdText);
    }
    openFacts = FactsOf(info);
    checkFacts = true;
    return true;
}

bool DigestEngine::TakeBlockDevice(int fd, const struct ::statx& info) {
    // A disk or stick is read to the size its driver gives, the bytes an image written to it
    // covers, so its end and any change of medium are known. Its reads go to the device itself,
    // not to the file system its node lies on, so the storage rule asks about the device.
    device = makedev(info.stx_rdev_major, info.stx_rdev_minor);
    const std::optional<uint64_t> size = BlockDeviceSize(fd);
    if (!size) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    TakeFile(fd, *size);
    openFacts = {.size = *size};
    blockDevice = checkFacts = true;
    return true;
}

bool DigestEngine::OpenStandardInput() {
    // A copy of the descriptor, so Close leaves standard input itself open.
    int fd = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, kStatusMask, &info) != 0 ||
        (info.stx_mask & STATX_TYPE) == 0) {
        ::close(fd);
        return false;
    }
    device = makedev(info.stx_dev_major, info.stx_dev_minor);
    if (!S_ISREG(info.stx_mode)) {
        // A pipe or a terminal has no size of its own: reading goes on to its end.
        TakeFile(fd, 0);
        return true;
    }
    // A redirected file is read from where standard input stands, as other tools read it.
    const off_t offset = ::lseek(fd, 0, SEEK_CUR);
    const uint64_t start = offset > 0 ? static_cast<uint64_t>(offset) : 0;
    TakeFile(fd, info.stx_size > start ? info.stx_size - start : 0);
    if (timeTexts) {
        TimeTexts(info, modifiedText, createdText);
    }
    openFacts = FactsOf(info);
    checkFacts = true;
    return true;
}

void DigestEngine::TakeFile(int fd, uint64_t size) {
    file = fd;
    fileSize = size;
    // The hint widens the kernel's read-ahead across blocks; a file of one block has none.
    if (fileSize > blockSize) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
}

bool DigestEngine::ReadNext(float& progress, bool& atEnd) {
    progress = 0;
    atEnd = false;
    if (file < 0 || shortOfLimit) {
        atEnd = true;
        return false;
    }
    std::size_t count = 0;
    bool fed = true;
    if (!ReadBlock(count, fed)) {
        readFailed = true;
        atEnd = true;
        return false;
    }
    if (count == 0) {
        atEnd = true;
        shortOfLimit = byteLimit != kWhole && bytesDone < byteLimit;
        changed = !shortOfLimit && !StillAsOpened();
        return false;
    }
    bytesDone += count;
    bytesReadInTotal.fetch_add(count, std::memory_order_relaxed);
    progress = Percent(bytesDone, fileSize);
    return fed;
}

DigestEngine::Facts DigestEngine::FactsOf(const struct ::statx& info) {
    return {info.stx_size, info.stx_mtime.tv_sec, info.stx_ctime.tv_sec, info.stx_mtime.tv_nsec,
            info.stx_ctime.tv_nsec};
}

bool DigestEngine::StillAsOpened() const {
    // A pipe or terminal on standard input has no facts of a file to keep.
    if (!checkFacts) {
        return true;
    }
    // A small file read whole by one call, of the size taken at open: a writer could only have
    // changed bytes within that one call, which a second status call could not tell apart from a
    // change just after it. Sparing the call is a quarter of a small file's system calls.
    if (wholeInFirstRead) {
        return true;
    }
    if (blockDevice) {
        return BlockDeviceSize(file) == openFacts.size && bytesDone == fileSize;
    }
    struct statx info {};
    if (::statx(file, "", AT_EMPTY_PATH, kFactsMask, &info) != 0 ||
        (info.stx_mask & kFactsMask) != kFactsMask || !(FactsOf(info) == openFacts)) {
        return false;
    }
    // Many files under /proc report size 0 and still have content, sysfs attributes report 4096
    // and hold a few bytes: for them only a size or time that moved tells of a change. On other
    // file systems a file that ended before its size (or went past it) was cut or grown within
    // the clock's tick.
    return bytesDone == fileSize || openFacts.size == 0 || OnPseudoFileSystem(file);
}

ssize_t DigestEngine::ReadSome(void* target, std::size_t count) {
    return readCall ? readCall(file, target, count) : ::read(file, target, count);
}

bool DigestEngine::ReadBlock(std::size_t& count, bool& fed) {
    // A block is read in pieces that alternate between the two halves of the buffer, so the copy
    // from the kernel and the digests meet in the processor's cache; with lanes the next piece is
    // read while the lanes digest the one before.
    const std::array<unsigned char*, 2> halves = {buffer[0].bytes,
                                                  buffer[kPieceSize / sizeof(Page)].bytes};
    std::size_t half = 0;
    std::size_t got = 0;
    count = 0;
    bool ok = NextPiece(halves[half], count, got);
    // Stop is looked at between pieces, so it waits for one piece, not one block.
    while (ok && got > 0 && !StopSeen()) {
        const unsigned char* piece = halves[half];
        const std::size_t size = got;
        count += size;
        half ^= 1;
        if (lanes.Worthwhile(size) && lanes.Start(piece, size)) {
            ok = NextPiece(halves[half], count, got);
            fed = lanes.Wait() && fed;
        } else {
            fed = lanes.FeedAll(piece, size) && fed;
            ok = NextPiece(halves[half], count, got);
        }
    }
    return ok;
}

bool DigestEngine::NextPiece(unsigned char* target, std::size_t count, std::size_t& got) {
    // Every block but the last is exactly blockSize bytes. Once the size taken at open is
    // reached the block ends without asking for more; the next block's first read finds the end
    // or picks up a file that grew. So a small file takes two reads, not three.
    got = 0;
    const uint64_t done = bytesDone + count;
    const bool sizeReached = fileSize != 0 && done == fileSize;
    if (count == blockSize || (count > 0 && sizeReached)) {
        return true;
    }
    if (wholeInFirstRead) {
        return true;
    }
    const std::size_t want =
        std::min<uint64_t>(std::min<std::size_t>(kPieceSize, blockSize - count), byteLimit - done);
    // A read may return less than asked (a signal, a network file system): the piece is filled.
    while (got < want && (got == 0 || fileSize == 0 || done + got != fileSize)) {
        ssize_t bytes = ReadSome(target + got, want - got);
        // Reads of regular files on disk ignore O_NONBLOCK, so it stays set. A file that honours
        // it (/proc/kmsg, some network and FUSE file systems) would otherwise block without end
        // once cleared: its EAGAIN stays a read error.
        if (bytes < 0 && errno == EINTR) {
            continue;
        }
        if (bytes < 0) {
            return false;
        }
        if (bytes == 0) {
            break;
        }
        // A regular file's read returns less than asked only at its end.
        wholeInFirstRead = done == 0 && got == 0 && fileSize != 0 &&
                           static_cast<uint64_t>(bytes) == fileSize &&
                           static_cast<std::size_t>(bytes) < want;
        got += static_cast<std::size_t>(bytes);
    }
    return true;
}

std::unique_ptr<HashObject>& DigestEngine::HashOf(DigestLanes::Digest digest) {
    return hashes[static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(digest)))];
}

bool DigestEngine::FeedDigest(DigestLanes::Digest digest, const unsigned char* data,
                              std::size_t count) {
    if (digest == DigestLanes::kCrc32) {
        crc = Crc32Update(data, count, crc);
        return true;
    }
    std::unique_ptr<HashObject>& hash = HashOf(digest);
    if (hash == nullptr) {
        return true;
    }
    if (hash->Update(data, count)) {
        return true;
    }
    // A digest that missed a block must not look complete: it is dropped and its text is empty.
    hash.reset();
    return false;
}

std::string DigestEngine::DigestText(unsigned algorithmId, bool uppercase) {
    switch (algorithmId) {
        case kCalgMd5:
            return TextOf(DigestLanes::kMd5, uppercase);
        case kCalgSha1:
            return TextOf(DigestLanes::kSha1, uppercase);
        case kCalgSha256:
            return TextOf(DigestLanes::kSha256, uppercase);
        default:
            return {};
    }
}

std::string DigestEngine::TextOf(DigestLanes::Digest digest, bool uppercase) {
    HashObject* hash = HashOf(digest).get();
    std::vector<unsigned char> value;
    if ((wanted & digest) == 0 || hash == nullptr || readFailed || changed || shortOfLimit ||
        !hash->Finish(value)) {
        return {};
    }
    return FormatDigestHex(value, uppercase);
}

std::string DigestEngine::CrcText(bool uppercase) const {
    if ((wanted & DigestLanes::kCrc32) == 0 || readFailed || changed || shortOfLimit) {
        return {};
    }
    return FormatCrc32(crc, uppercase);
}

void DigestEngine::TakeDigestTexts(FileEntry& entry, bool uppercase) {
    for (const DigestFields& digest : kDigestFields) {
        entry.*digest.text = digest.kind == DigestKind::kCrc32
                                 ? CrcText(uppercase)
                                 : TextOf(DigestLanes::BitOf(digest.kind), uppercase);
    }
}

void DigestEngine::Close() {
    if (file >= 0) {
        ::close(file);
        file = -1;
    }
    for (std::unique_ptr<HashObject>& hash : hashes) {
        hash.reset();
    }
}

}  // namespace rizo
