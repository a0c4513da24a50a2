// SPDX-License-Identifier: MIT
// Digests and file facts of one file at a time, in one sequential pass over its bytes.
#pragma once

#include <sys/types.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "engine/digest_lanes.h"
#include "engine/digest_service.h"

struct statx;

namespace rizo {

// Algorithm identifiers taken by DigestEngine::DigestText.
constexpr unsigned kCalgMd5 = 0x8003;
constexpr unsigned kCalgSha1 = 0x8004;
constexpr unsigned kCalgSha256 = 0x800C;

// 3 when the digest service offers SHA-256, 1 when it does not (classes 0 and 1 offer no SHA256,
// 2, 3 and -1 do). Without an argument it asks this platform's service.
int OsClass(const DigestService& service);
int OsClass();

// Passive: each ReadNext reads and digests one block, so the caller decides when to report
// progress and when to give up. Used by one thread at a time; it has no lock of its own.
class DigestEngine {
public:
    // The most one ReadNext reads and digests.
    static constexpr uint32_t kBufferSize = 10485760;
    // A block passes through two buffer halves of this size, small enough to stay in the
    // processor's cache from the read to the digests.
    static constexpr std::size_t kPieceSize = 1048576;

    // Uses this platform's digest service.
    DigestEngine();
    explicit DigestEngine(std::unique_ptr<DigestService> service);
    ~DigestEngine();
    DigestEngine(const DigestEngine&) = delete;
    DigestEngine& operator=(const DigestEngine&) = delete;

    // Takes the digest service into use and allocates the read buffer; until it succeeds every
    // Open fails. The base provider offers no SHA256; the prototype name chooses nothing here.
    bool AcquireProvider(bool useBaseProvider, bool usePrototypeName);

    // The name that Open takes for standard input, read to its end whatever kind of file it
    // is (a pipe, a terminal): the command line's "-". Empty, the default, names nothing.
    void SetStandardInputName(std::string name) { standardInputName = std::move(name); }
    bool NamesStandardInput(const std::string& path) const {
        return !standardInputName.empty() && path == standardInputName;
    }
    // How the engine reads from a file descriptor; ::read unless a test brings its own.
    using ReadCall = std::function<ssize_t(int fd, void* buffer, std::size_t count)>;
    void SetReadCall(ReadCall call) { readCall = std::move(call); }
    // ReadNext reads at most `size` bytes (at least 1) instead of kBufferSize, so that a small file
    // takes as many blocks, and progress steps, as a large one.
    void SetBlockSize(uint32_t size) { blockSize = size; }
    // The helpers that digest a large file's block in lanes, shared with other engines.
    void ShareLanes(std::shared_ptr<LaneWorkers> helpers) { lanes.Share(std::move(helpers)); }
    // Whether Open makes the texts of the file's times (on by default).
    void SetTimeTexts(bool on) { timeTexts = on; }
    // A block ends early, between two pieces, once `flag` is set; null for never.
    void SetStopFlag(const std::atomic<bool>* flag) { stopFlag = flag; }
    // Each file is read only to its first `limit` bytes, which are then its size, progress and
    // digests; kWhole reads it all.
    static constexpr uint64_t kWhole = std::numeric_limits<uint64_t>::max();
    void SetByteLimit(uint64_t limit) { byteLimit = limit; }

    // Opens a regular file or a device (a folder, FIFO or socket fails at once, as a missing file
    // does), captures its size and times and creates the wanted hash objects. A block device's
    // size is asked of its driver; a character device has none and is read to its end. A file
    // still open is closed first. Fails when a wanted digest's object cannot be created (errno 0),
    // but for SHA256, which is then dropped for this file instead. On failure errno tells why,
    // EISDIR for a folder.
    bool Open(const std::string& path, const HashSelection& selection);
    // Open of a file someone else opened and took the status of, with kStatusMask: the engine
    // takes `fd` over, and closes it on failure too.
    bool Adopt(int fd, const struct ::statx& info, const HashSelection& selection);
    // What a file's status is taken with: kind, size and times.
    static const unsigned kStatusMask;
    // The last Open failed because the path names a folder, FIFO or socket.
    bool NotRegular() const { return notRegular; }

    uint64_t FileSize() const { return fileSize; }
    // The open file's descriptor, -1 when none is open; it stays the engine's.
    int Descriptor() const { return file; }
    // The device the open file lives on, as its status at open told; for a block device, the
    // device itself.
    dev_t Device() const { return device; }
    // Bytes read by this engine over all files so far; safe from any thread.
    uint64_t BytesReadInTotal() const { return bytesReadInTotal.load(std::memory_order_relaxed); }
    // Empty when the file system records no creation time.
    const std::string& CreatedText() const { return createdText; }
    const std::string& ModifiedText() const { return modifiedText; }

    // Reads and digests the next block. `progress` is the percentage read so far, 0 on the call
    // that finds the end. Returns false at the end, on a read error and when a digest update
    // failed; `atEnd` is set at the end and on a read error.
    bool ReadNext(float& progress, bool& atEnd);
    // The last read failed (errno tells why): the digests would cover only part of the file, so
    // every digest text of this file is empty.
    bool ReadFailed() const { return readFailed; }
    // Found at the end: the size or the modification or change time now differ from those taken
    // at open, or more or fewer bytes were read than the size taken then. Nothing keeps writers
    // out while a file is read, and digests of a mix of old and new bytes belong to no version of
    // the file, so every digest text of this file is empty.
    bool Changed() const { return changed; }
    // Found at open or at the end: the file holds fewer bytes than the byte limit. Digests of less
    // than was asked for would answer another question, so every digest text of this file is
    // empty.
    bool ShortOfLimit() const { return shortOfLimit; }

    // Called once per digest after the last ReadNext; empty when the digest is not wanted, its
    // object is missing or failed, the file could not be read to its end, changed meanwhile or
    // fell short of the byte limit.
    std::string DigestText(unsigned algorithmId, bool uppercase);
    std::string CrcText(bool uppercase) const;
    // Every digest text of `entry`, each as DigestText or CrcText gives it.
    void TakeDigestTexts(FileEntry& entry, bool uppercase);

    // Ends the file and its hash objects; the service, the buffer and the texts stay.
    void Close();

private:
    // What the end-of-file check compares: the size and the two times to the nanosecond.
    struct Facts {
        uint64_t size = 0;
        int64_t modifiedSeconds = 0, changedSeconds = 0;
        uint32_t modifiedNanos = 0, changedNanos = 0;
        bool operator==(const Facts&) const = default;
    };

    static Facts FactsOf(const struct ::statx& info);
    bool OpenRegularFile(const std::string& path);
    bool OpenStandardInput();
    bool Begin(const HashSelection& selection, const std::function<bool()>& openFile);
    bool TakeOpened(int fd, const struct ::statx& info);
    bool TakeBlockDevice(int fd, const struct ::statx& info);
    void TakeFile(int fd, uint64_t size);
    bool StillAsOpened() const;
    bool StopSeen() const { return stopFlag != nullptr && stopFlag->load(); }
    ssize_t ReadSome(void* target, std::size_t count);
    bool ReadBlock(std::size_t& count, bool& fed);
    bool NextPiece(unsigned char* target, std::size_t count, std::size_t& got);
    bool CreateHashes(const HashSelection& selection);
    bool FeedDigest(DigestLanes::Digest digest, const unsigned char* data, std::size_t count);
    std::unique_ptr<HashObject>& HashOf(DigestLanes::Digest digest);
    std::string TextOf(DigestLanes::Digest digest, bool uppercase);

    bool ready = false;
    // The DigestLanes bits of the digests wanted for the open file and whose objects exist.
    unsigned wanted = 0;
    int file = -1;
    dev_t device = 0;
    uint64_t fileSize = 0;
    uint64_t bytesDone = 0;
    Facts openFacts;
    bool checkFacts = false;
    std::atomic<uint64_t> bytesReadInTotal = 0;
    std::string createdText;
    std::string modifiedText;
    std::unique_ptr<DigestService> provider;
    bool baseProvider = false;
    // By the index of the digest's bit; CRC32's place stays empty.
    std::array<std::unique_ptr<HashObject>, DigestLanes::kDigestCount> hashes;
    uint32_t crc = 0;
    bool readFailed = false;
    std::string standardInputName;
    bool changed = false;
    uint64_t byteLimit = kWhole;
    bool shortOfLimit = false;
    // A block device's facts are its size alone: its times move as others use it.
    bool blockDevice = false;
    // The first read returned the whole file, short of what it asked: the end is known without
    // another read, and the bytes are those of one moment.
    bool wholeInFirstRead = false;
    bool notRegular = false;
    ReadCall readCall;
    const std::atomic<bool>* stopFlag = nullptr;
    // The kernel copies into a page-aligned buffer several times faster than into one that is
    // not even cache-line aligned, as plain new[] of a large array returns.
    struct alignas(4096) Page {
        unsigned char bytes[4096];
    };
    // Two pieces; allocated once.
    std::unique_ptr<Page[]> buffer;
    uint32_t blockSize = kBufferSize;
    bool timeTexts = true;
    // Last, so its helpers end before the hash objects they feed.
    DigestLanes lanes;
};

}  // namespace rizo
