// SPDX-License-Identifier: MIT
// The digest engine on real files: vectors, block boundaries, progress, failures and file kinds.
#include "engine/digest_engine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <functional>
#include <ostream>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "base/digest_kind.h"
#include "base/value_format.h"
#include "engine/crc32.h"
#include "engine/openssl_digest_service.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

constexpr HashSelection kAll = {true, true, true, true};
constexpr std::size_t kBlock = DigestEngine::kBufferSize;

struct Texts {
    std::string md5, sha1, crc32, sha256;
    bool operator==(const Texts&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Texts& t) {
        return out << t.md5 << ' ' << t.sha1 << ' ' << t.crc32 << ' ' << t.sha256;
    }
};

float Percent(double done, double total) {
    return static_cast<float>(done * 100 / total);
}

std::string RandomBytes(std::size_t count) {
    std::mt19937 generator(12345);
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

std::string InMemory(DigestKind algorithm, const std::string& bytes) {
    auto hash = CreateOpenSslDigestService()->CreateHash(algorithm, 0);
    std::vector<unsigned char> value;
    hash->Update(bytes.data(), bytes.size());
    hash->Finish(value);
    return FormatDigestHex(value, false);
}

// The texts of the selected digests of `bytes`, computed in memory in one piece.
Texts InMemory(const std::string& bytes, HashSelection selection = kAll) {
    auto crc = Crc32UpdatePortable(bytes.data(), bytes.size(), 0);
    return {selection.md5 ? InMemory(DigestKind::kMd5, bytes) : "",
            selection.sha1 ? InMemory(DigestKind::kSha1, bytes) : "",
            selection.crc32 ? FormatCrc32(crc, false) : "",
            selection.sha256 ? InMemory(DigestKind::kSha256, bytes) : ""};
}

// Wraps the platform's service; can refuse or break (fail the updates of) any algorithm, and counts
// live hash objects.
class TestService : public DigestService {
public:
    std::set<DigestKind> refused, broken;
    int liveObjects = 0;

    bool Offers(DigestKind algorithm) const override { return real->Offers(algorithm); }
    std::unique_ptr<HashObject> CreateHash(DigestKind algorithm, std::size_t length) override {
        if (refused.contains(algorithm)) {
            return nullptr;
        }
        auto hash = real->CreateHash(algorithm, length);
        if (hash == nullptr) {
            return nullptr;
        }
        return std::make_unique<Counted>(std::move(hash), liveObjects, broken.contains(algorithm));
    }

private:
    class Counted : public HashObject {
    public:
        Counted(std::unique_ptr<HashObject> wrapped, int& counter, bool failUpdates)
            : inner(std::move(wrapped)), live(++counter), broken(failUpdates) {}
        ~Counted() override { --live; }
        bool Update(const void* data, std::size_t count) override {
            return !broken && inner->Update(data, count);
        }
        bool Finish(std::vector<unsigned char>& value) override { return inner->Finish(value); }

    private:
        std::unique_ptr<HashObject> inner;
        int& live;
        bool broken;
    };

    std::unique_ptr<DigestService> real = CreateOpenSslDigestService();
};

class DigestEngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine.AcquireProvider(false, false)); }

    // Reads to the end; returns the progress of every call.
    std::vector<float> ReadAll() {
        std::vector<float> progress;
        for (bool atEnd = false; !atEnd;) {
            engine.ReadNext(progress.emplace_back(-1), atEnd);
        }
        return progress;
    }

    Texts TextsOf(bool uppercase = false) {
        return {engine.DigestText(kCalgMd5, uppercase), engine.DigestText(kCalgSha1, uppercase),
                engine.CrcText(uppercase), engine.DigestText(kCalgSha256, uppercase)};
    }

    FileEntry EntryOf(const std::string& path, const HashSelection& selection, bool uppercase) {
        EXPECT_TRUE(engine.Open(path, selection)) << path;
        ReadAll();
        FileEntry entry;
        engine.TakeDigestTexts(entry, uppercase);
        engine.Close();
        return entry;
    }

    Texts Hash(const std::string& path, HashSelection selection = kAll) {
        EXPECT_TRUE(engine.Open(path, selection)) << path;
        lastProgress = ReadAll();
        Texts texts = TextsOf();
        engine.Close();
        return texts;
    }

    test::TempFolder dir;
    TestService* service = new TestService;
    DigestEngine engine{std::unique_ptr<DigestService>(service)};
    std::vector<float> lastProgress;  // of the last Hash
};

TEST_F(DigestEngineTest, PublishedVectorsComeOutOfOnePass) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"",
         {"d41d8cd98f00b204e9800998ecf8427e", "da39a3ee5e6b4b0d3255bfef95601890afd80709",
          "00000000", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"}},
        {"abc",
         {"900150983cd24fb0d6963f7d28e17f72", "a9993e364706816aba3e25717850c26c9cd0d89d",
          "352441c2", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         {"8215ef0796a20bcaaae116d3876c664a", "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
          "171a3f5f", "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"}},
        {std::string(1000000, 'a'),
         {"7707d6ae4e027c70eea2a935c2296f21", "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
          "dc25bfbc", "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}},
        {"123456789", {"", "", "cbf43926", ""}},
    };
    for (const auto& [input, expected] : cases) {
        HashSelection selection = {!expected.md5.empty(), !expected.sha1.empty(), true,
                                   !expected.sha256.empty()};
        EXPECT_EQ(Hash(dir.File("vector", input), selection), expected) << input.size();
    }
}

// Around the 10 MiB block, below and at the piece size where the lanes take over, and with a last
// piece too small for them: every selection gives the digests of one pass in memory.
TEST_F(DigestEngineTest, EverySelectionAtEveryBlockBoundaryGivesTheDigestsOfTheWholeFile) {
    const std::vector<std::pair<std::size_t, std::vector<float>>> cases = {
        {0, {0}},
        {5, {100, 0}},
        {256 * 1024 - 1, {100, 0}},
        {256 * 1024, {100, 0}},
        {kBlock, {100, 0}},
        {kBlock + 1, {Percent(kBlock, kBlock + 1), 100, 0}},
        {2 * kBlock + 3,
         {Percent(kBlock, 2 * kBlock + 3), Percent(2 * kBlock, 2 * kBlock + 3), 100, 0}},
    };
    for (const auto& [size, expectedProgress] : cases) {
        const std::string bytes = RandomBytes(size);
        const std::string path = dir.File("blocks", bytes);
        for (unsigned bits = 1; bits < 16; ++bits) {
            const HashSelection selection = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                             (bits & 8) != 0};
            EXPECT_EQ(Hash(path, selection), InMemory(bytes, selection)) << size << " " << bits;
            EXPECT_EQ(lastProgress, expectedProgress) << size << " " << bits;
        }
    }
}

// Nothing keeps writers out while a file is read: a file rewritten, shrunk or grown after its first
// piece gets no digest at all. /proc files, which report size 0 and have content, still do.
TEST_F(DigestEngineTest, FileChangedWhileBeingReadGetsNoDigest) {
    const std::string bytes = RandomBytes(3 * DigestEngine::kPieceSize);
    struct Case {
        const char* label;
        std::function<void(const std::string&)> change;
    };
    const Case cases[] = {
        {"untouched", nullptr},
        {"rewritten in place",
         [](const std::string& path) {
             const int fd = open(path.c_str(), O_WRONLY);
             EXPECT_EQ(pwrite(fd, "x", 1, 5), 1);
             close(fd);
         }},
        {"shrunk", [](const std::string& path) { EXPECT_EQ(truncate(path.c_str(), 1000), 0); }},
        {"grown",
         [](const std::string& path) {
             std::ofstream(path, std::ios::binary | std::ios::app) << "def";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path = dir.File("changing", bytes);
        // An old modification time, so a rewrite within the clock's tick still moves it.
        const timespec times[2] = {{0, UTIME_OMIT}, {1416384330, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        int reads = 0;
        engine.SetReadCall([&](int fd, void* buffer, std::size_t count) {
            const ssize_t got = read(fd, buffer, count);
            if (++reads == 1 && c.change) {
                c.change(path);
            }
            return got;
        });
        ASSERT_TRUE(engine.Open(path, kAll));
        ReadAll();
        EXPECT_EQ(engine.Changed(), c.change != nullptr);
        EXPECT_EQ(TextsOf(), c.change ? Texts{} : InMemory(bytes));
    }
    engine.SetReadCall(nullptr);
    ASSERT_TRUE(engine.Open("/proc/self/status", kAll));
    EXPECT_EQ(engine.FileSize(), 0u);
    EXPECT_EQ(ReadAll(), (std::vector<float>{100, 0}));
}

// The kernel's files report a size that is not their length (sysfs 4096, most of procfs 0) and
// are read to their end; on an ordinary file system a file that ends before its size was cut
// meanwhile, even when its size and times read the same again.
TEST_F(DigestEngineTest, PseudoFilesAndDevicesAreReadToTheirEndAndAnEarlyEndElsewhereIsAChange) {
    for (const char* path : {"/sys/class/net/lo/mtu", "/proc/sys/kernel/ostype", "/dev/null"}) {
        const std::string bytes = test::ReadText(path);
        EXPECT_EQ(Hash(path), InMemory(bytes)) << path;
        EXPECT_FALSE(engine.Changed()) << path;
    }
    const std::string bytes = RandomBytes(3 * DigestEngine::kPieceSize);
    const std::string path = dir.File("cut", bytes);
    // Reads as a file cut after its first piece and grown back within one tick of the clock.
    engine.SetReadCall([](int fd, void* buffer, std::size_t count) {
        return lseek(fd, 0, SEEK_CUR) < static_cast<off_t>(DigestEngine::kPieceSize)
                   ? read(fd, buffer, count)
                   : ssize_t{0};
    });
    EXPECT_EQ(Hash(path), Texts{});
    EXPECT_TRUE(engine.Changed());
}

// A digest whose object cannot be made or fed is dropped for that file alone; SHA-256 is the one a
// file can be opened without. No hash object outlives a failed Open.
TEST_F(DigestEngineTest, FailingHashObjectDropsItsDigestForThatFileOnly) {
    struct Case {
        const char* label;
        std::set<DigestKind> TestService::*faults;
        DigestKind algorithm;
        std::string bytes;  // small ones are digested on the caller's thread, large in the lanes
        bool opens, readSucceeds;
    };
    const Case cases[] = {
        {"no SHA-256 object", &TestService::refused, DigestKind::kSha256, "abc", true, true},
        {"SHA-256 update fails", &TestService::broken, DigestKind::kSha256, "abc", true, false},
        {"SHA-256 update fails in the lanes", &TestService::broken, DigestKind::kSha256,
         RandomBytes(3 * 1048576), true, false},
        {"no MD5 object", &TestService::refused, DigestKind::kMd5, "abc", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path = dir.File("faulty", c.bytes);
        (service->*c.faults).insert(c.algorithm);
        ASSERT_EQ(engine.Open(path, kAll), c.opens);
        if (c.opens) {
            float percent = 0;
            bool atEnd = false;
            EXPECT_EQ(engine.ReadNext(percent, atEnd), c.readSucceeds);
            ReadAll();
            EXPECT_EQ(TextsOf(), InMemory(c.bytes, {true, true, true, false}));
        } else {
            EXPECT_EQ(service->liveObjects, 0);
            EXPECT_EQ(Hash(path, {false, true, true, true}), InMemory(c.bytes, {0, 1, 1, 1}));
        }
        (service->*c.faults).clear();
        EXPECT_EQ(Hash(path), InMemory(c.bytes));
    }
}

// The digests the service makes: every one but CRC32, which the engine computes itself.
const std::vector<DigestFields> kServiceDigests = [] {
    std::vector<DigestFields> digests;
    for (const DigestFields& digest : kDigestFields) {
        if (digest.kind != DigestKind::kCrc32) {
            digests.push_back(digest);
        }
    }
    return digests;
}();

HashSelection Every(int blake2bBits) {
    HashSelection all{};
    for (const DigestFields& digest : kServiceDigests) {
        all.*digest.chosen = true;
    }
    all.crc32 = true;
    all.blake2bBits = blake2bBits;
    return all;
}

// A file whose pieces go through the lanes gives every digest, all eleven from one read, as each
// alone gives it, and in upper case by the same rule as the window's four.
TEST_F(DigestEngineTest, AllDigestsTogetherInTheLanesGiveWhatEachGivesAlone) {
    const std::string bytes = RandomBytes(kBlock + 3 * DigestEngine::kPieceSize + 7);
    const std::string path = dir.File("lanes", bytes);
    const FileEntry together = EntryOf(path, Every(256), false);
    const FileEntry upper = EntryOf(path, Every(256), true);
    EXPECT_EQ(together.crc32, InMemory(bytes, {false, false, true, false}).crc32);
    for (const DigestFields& digest : kServiceDigests) {
        HashSelection alone{};
        alone.md5 = false;
        alone.*digest.chosen = true;
        alone.blake2bBits = 256;
        const FileEntry single = EntryOf(path, alone, false);
        const std::string& text = together.*digest.text;
        EXPECT_EQ(single.*digest.text, text) << static_cast<int>(digest.kind);
        EXPECT_FALSE(text.empty());
        std::string upperText = text;
        std::transform(text.begin(), text.end(), upperText.begin(),
                       [](char c) { return static_cast<char>(std::toupper(c)); });
        EXPECT_EQ(upper.*digest.text, upperText);
    }
    EXPECT_EQ(together.blake2b.size(), 64u);
}

// A digest beyond the window's four fails the file when its object cannot be made, as MD5 does, and
// one whose update fails in the lanes is dropped alone. A BLAKE2b length that is none of 8 to 512
// bits in steps of 8 makes no object.
TEST_F(DigestEngineTest, NewDigestsFailTheFileWithoutAnObjectAndAreDroppedAloneWhenAnUpdateFails) {
    const std::string path = dir.File("faulty", RandomBytes(3 * DigestEngine::kPieceSize));
    const FileEntry whole = EntryOf(path, Every(512), false);
    for (const DigestFields& faulty : kServiceDigests) {
        if (faulty.text == &FileEntry::md5 || faulty.text == &FileEntry::sha1 ||
            faulty.text == &FileEntry::sha256) {
            continue;
        }
        SCOPED_TRACE(static_cast<int>(faulty.kind));
        service->refused = {faulty.kind};
        errno = EINVAL;
        EXPECT_FALSE(engine.Open(path, Every(512)));
        EXPECT_EQ(errno, 0);
        EXPECT_EQ(service->liveObjects, 0);
        service->refused.clear();

        service->broken = {faulty.kind};
        ASSERT_TRUE(engine.Open(path, Every(512)));
        float percent = 0;
        bool atEnd = false;
        EXPECT_FALSE(engine.ReadNext(percent, atEnd));
        ReadAll();
        FileEntry entry;
        engine.TakeDigestTexts(entry, false);
        for (const DigestFields& digest : kServiceDigests) {
            EXPECT_EQ(entry.*digest.text, &faulty == &digest ? "" : whole.*digest.text);
        }
        service->broken.clear();
    }
    for (const int bits : {0, 12, 520}) {
        HashSelection selection = Every(bits);
        EXPECT_FALSE(engine.Open(path, selection)) << bits;
        selection.blake2b = false;
        EXPECT_TRUE(engine.Open(path, selection)) << bits;
    }
}

TEST_F(DigestEngineTest, FifosAndFoldersDoNotOpenAndNothingOfTheLastFileRemains) {
    const std::string fifo = dir.Path() + "fifo", file = dir.File("file", "abc");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const timespec times[2] = {{0, UTIME_OMIT}, {1416384330, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    for (const std::string& path : {fifo, dir.Path(), dir.Path() + "x"}) {
        ASSERT_TRUE(engine.Open(file, kAll));
        EXPECT_EQ(engine.ModifiedText(), FormatFileTime(1416384330));
        EXPECT_FALSE(engine.Open(path, kAll)) << path;
        EXPECT_EQ(engine.FileSize(), 0u);
        EXPECT_EQ(engine.ModifiedText() + engine.CreatedText(), "");
        EXPECT_EQ(service->liveObjects, 0);
    }
}

// A failed read gives no digests; EAGAIN (/proc/kmsg, FUSE and network files honour O_NONBLOCK) is
// such a failure too, since reading on in blocking mode could wait without end.
TEST_F(DigestEngineTest, ReadErrorIsNotTheEndOfTheFile) {
    const std::string abc = dir.File("abc", "abc");
    const std::vector<std::tuple<std::string, int, bool>> cases = {
        // Reading a process's own memory from offset 0 fails with EIO: page 0 is never mapped.
        {"/proc/self/mem", EIO, false},
        {abc, EAGAIN, true},
    };
    for (const auto& [path, error, wouldBlockOnce] : cases) {
        bool blocked = false;
        engine.SetReadCall([&, wouldBlock = wouldBlockOnce](int fd, void* buffer, std::size_t n) {
            if (wouldBlock && !std::exchange(blocked, true)) {
                errno = EAGAIN;
                return ssize_t{-1};
            }
            return read(fd, buffer, n);
        });
        ASSERT_TRUE(engine.Open(path, kAll));
        float percent = 0;
        bool atEnd = false;
        EXPECT_FALSE(engine.ReadNext(percent, atEnd));
        EXPECT_EQ(errno, error) << path;
        EXPECT_TRUE(atEnd);
        EXPECT_TRUE(engine.ReadFailed());
        EXPECT_EQ(TextsOf(), Texts{});
    }
    engine.SetReadCall(nullptr);
    EXPECT_EQ(Hash(abc), InMemory("abc"));
    EXPECT_FALSE(engine.ReadFailed());
}

// Stop is seen between the pieces of a block, not only between blocks.
TEST_F(DigestEngineTest, StopEndsABlockAfterThePieceBeingRead) {
    const std::size_t size = 4 * DigestEngine::kPieceSize;
    std::atomic<bool> stop = false;
    engine.SetStopFlag(&stop);
    engine.SetReadCall([&stop](int fd, void* buffer, std::size_t count) {
        stop = true;
        return read(fd, buffer, count);
    });
    ASSERT_TRUE(engine.Open(dir.File("long", RandomBytes(size)), kAll));
    float percent = 0;
    bool atEnd = false;
    engine.ReadNext(percent, atEnd);
    EXPECT_LE(percent, 50.0f);
    engine.SetStopFlag(nullptr);
}

TEST(DigestEngineProvider, NoServiceOpensNothingAndTheBaseOneOffersNoSha256) {
    DigestEngine withoutService(nullptr), notAcquired, base;
    EXPECT_FALSE(withoutService.AcquireProvider(false, false));
    EXPECT_FALSE(withoutService.Open("/proc/self/status", kAll));
    EXPECT_FALSE(notAcquired.Open("/proc/self/status", kAll));

    ASSERT_TRUE(base.AcquireProvider(true, false));
    ASSERT_TRUE(base.Open("/proc/self/status", kAll));
    float percent = 0;
    for (bool atEnd = false; !atEnd;) {
        base.ReadNext(percent, atEnd);
    }
    EXPECT_EQ(base.DigestText(kCalgSha256, false), "");
    EXPECT_EQ(base.DigestText(kCalgMd5, false).size(), 32u);
    EXPECT_EQ(base.DigestText(0x8001, false), "");
}

// zlib's CRC-32 of `count` zero bytes, put together from those of powers of two: zlib is the
// reference, and its sum costs no pass over gigabytes.
uLong ZerosCrc(uint64_t count) {
    const unsigned char zero = 0;
    uLong power = crc32(0, &zero, 1);
    uLong whole = crc32(0, nullptr, 0);
    for (uint64_t length = 1; count != 0; length *= 2, count /= 2) {
        if (count % 2 != 0) {
            whole = crc32_combine(whole, power, static_cast<z_off_t>(length));
        }
        power = crc32_combine(power, power, static_cast<z_off_t>(length));
    }
    return whole;
}

// A sparse file just over 4 GiB ending in data: its whole size, progress block by block, and the
// CRC32 that zlib gives for the same bytes.
TEST_F(DigestEngineTest, SparseFileOver4GiBHasItsFullSizeProgressAndCrc) {
    const std::string path = dir.File("sparse", "");
    constexpr uint64_t kSize = (uint64_t{1} << 32) + 12345;
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kSize - 4)), 0);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_EQ(::write(fd, "tail", 4), 4);
    ::close(fd);
    ASSERT_TRUE(engine.Open(path, {false, false, true, false}));
    EXPECT_EQ(engine.FileSize(), kSize);
    std::vector<float> all = ReadAll();
    ASSERT_EQ(all.size(), kSize / kBlock + 2);
    for (std::size_t i = 0; i + 2 < all.size(); ++i) {
        EXPECT_NEAR(all[i], double(i + 1) * kBlock * 100 / double(kSize), 1e-4) << i;
    }
    EXPECT_EQ(all[all.size() - 2], 100.0f);

    const auto* tail = reinterpret_cast<const unsigned char*>("tail");
    const uLong expected = crc32_combine(ZerosCrc(kSize - 4), crc32(0, tail, 4), 4);
    char text[9];
    std::snprintf(text, sizeof text, "%08lX", expected);
    EXPECT_EQ(engine.CrcText(true), text);
}

}  // namespace
}  // namespace rizo
