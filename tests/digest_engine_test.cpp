// The digest engine on real files: vectors, block boundaries, progress, failures and file kinds.
#include "engine/digest_engine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "engine/crc32.h"
#include "engine/openssl_digest_service.h"
#include "engine/value_format.h"

namespace rizo {
namespace {

constexpr HashSelection kAll = {true, true, true, true};

struct Texts {
    std::string md5, sha1, crc32, sha256;
};

class TempDir {
public:
    TempDir() {
        std::string pattern = ::testing::TempDir() + "rizo-engine-XXXXXX";
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }

    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string file = path + "/" + name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    std::string path;
};

std::string RandomBytes(std::size_t count) {
    std::mt19937 generator(12345);
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

// Wraps the platform's service and can refuse or break SHA-256, and counts live hash objects.
class TestService : public DigestService {
public:
    bool refuseSha256 = false;
    bool breakSha256Updates = false;
    bool refuseMd5 = false;
    int liveObjects = 0;

    bool Offers(DigestAlgorithm algorithm) const override { return real->Offers(algorithm); }

    std::unique_ptr<HashObject> CreateHash(DigestAlgorithm algorithm) override {
        bool isSha256 = algorithm == DigestAlgorithm::kSha256;
        if ((isSha256 && refuseSha256) || (algorithm == DigestAlgorithm::kMd5 && refuseMd5)) {
            return nullptr;
        }
        return std::make_unique<Counted>(real->CreateHash(algorithm), liveObjects,
                                         isSha256 && breakSha256Updates);
    }

private:
    class Counted : public HashObject {
    public:
        Counted(std::unique_ptr<HashObject> wrapped, int& counter, bool failUpdates)
            : inner(std::move(wrapped)), live(counter), broken(failUpdates) {
            ++live;
        }
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
    DigestEngineTest() {
        auto owned = std::make_unique<TestService>();
        service = owned.get();
        engine = std::make_unique<DigestEngine>(std::move(owned));
    }

    void SetUp() override { ASSERT_TRUE(engine->AcquireProvider(false, false)); }

    // Reads to the end; returns the progress of every call.
    std::vector<float> ReadAll() {
        std::vector<float> progress;
        bool atEnd = false;
        while (!atEnd) {
            float percent = -1;
            engine->ReadNext(percent, atEnd);
            progress.push_back(percent);
        }
        return progress;
    }

    Texts TextsOf(bool uppercase = false) {
        return {engine->DigestText(kCalgMd5, uppercase), engine->DigestText(kCalgSha1, uppercase),
                engine->CrcText(uppercase), engine->DigestText(kCalgSha256, uppercase)};
    }

    Texts Hash(const std::string& path, HashSelection selection = kAll) {
        EXPECT_TRUE(engine->Open(path, selection)) << path;
        ReadAll();
        Texts texts = TextsOf();
        engine->Close();
        return texts;
    }

    TempDir dir;
    TestService* service = nullptr;
    std::unique_ptr<DigestEngine> engine;
};

std::string InMemory(DigestAlgorithm algorithm, const std::string& bytes) {
    auto hash = CreateOpenSslDigestService()->CreateHash(algorithm);
    std::vector<unsigned char> value;
    hash->Update(bytes.data(), bytes.size());
    hash->Finish(value);
    return FormatDigestHex(value, false);
}

TEST_F(DigestEngineTest, PublishedVectorsComeOutOfOnePass) {
    struct Case {
        std::string input;
        Texts expected;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        bool crcOnly = c.expected.md5.empty();
        Texts got = Hash(dir.Write("vector", c.input),
                         crcOnly ? HashSelection{false, false, true, false} : kAll);
        EXPECT_EQ(got.md5, c.expected.md5) << c.input.size();
        EXPECT_EQ(got.sha1, c.expected.sha1) << c.input.size();
        EXPECT_EQ(got.crc32, c.expected.crc32) << c.input.size();
        EXPECT_EQ(got.sha256, c.expected.sha256) << c.input.size();
    }
}

TEST_F(DigestEngineTest, BlockBoundariesGiveTheDigestsOfTheWholeFile) {
    struct Case {
        std::size_t size;
        std::vector<float> progress;
    };
    const std::vector<Case> cases = {
        {0, {0}},
        {10485760, {100, 0}},
        {10485761, {100.0f * 10485760 / 10485761, 100, 0}},
        {25 * 1048576, {40, 80, 100, 0}},
    };
    for (const Case& c : cases) {
        std::string bytes = RandomBytes(c.size);
        ASSERT_TRUE(engine->Open(dir.Write("blocks", bytes), kAll));
        EXPECT_EQ(engine->FileSize(), c.size);
        EXPECT_EQ(ReadAll(), c.progress) << c.size;
        Texts got = TextsOf();
        EXPECT_FALSE(engine->ReadFailed());
        EXPECT_EQ(got.md5, InMemory(DigestAlgorithm::kMd5, bytes));
        EXPECT_EQ(got.sha1, InMemory(DigestAlgorithm::kSha1, bytes));
        EXPECT_EQ(got.crc32,
                  FormatCrc32(Crc32UpdatePortable(bytes.data(), bytes.size(), 0), false));
        EXPECT_EQ(got.sha256, InMemory(DigestAlgorithm::kSha256, bytes));
    }
}

// Below and at the piece size where the lanes take over, with a last piece too small for them,
// and across blocks, every selection gives the digests of one pass in memory.
TEST_F(DigestEngineTest, EverySelectionGivesTheDigestsOfOnePassInMemory) {
    const std::vector<std::size_t> sizes = {5,           256 * 1024 - 1, 256 * 1024,
                                            1048576 + 3, 10485761,       2 * 10485760 + 3};
    for (std::size_t size : sizes) {
        const std::string bytes = RandomBytes(size);
        const std::string path = dir.Write("lanes", bytes);
        const Texts whole = {InMemory(DigestAlgorithm::kMd5, bytes),
                             InMemory(DigestAlgorithm::kSha1, bytes),
                             FormatCrc32(Crc32UpdatePortable(bytes.data(), bytes.size(), 0), false),
                             InMemory(DigestAlgorithm::kSha256, bytes)};
        for (unsigned bits = 1; bits < 16; ++bits) {
            const HashSelection selection = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0,
                                             (bits & 8) != 0};
            const Texts got = Hash(path, selection);
            const std::string label =
                std::to_string(size) + " bytes, selection " + std::to_string(bits);
            EXPECT_EQ(got.md5, selection.md5 ? whole.md5 : "") << label;
            EXPECT_EQ(got.sha1, selection.sha1 ? whole.sha1 : "") << label;
            EXPECT_EQ(got.crc32, selection.crc32 ? whole.crc32 : "") << label;
            EXPECT_EQ(got.sha256, selection.sha256 ? whole.sha256 : "") << label;
        }
    }
}

TEST_F(DigestEngineTest, FileThatGrowsAfterItsSizeWasReadIsReadToItsNewEnd) {
    const std::string path = dir.Write("growing", "abc");
    ASSERT_TRUE(engine->Open(path, kAll));
    float progress = 0;
    bool atEnd = false;
    ASSERT_TRUE(engine->ReadNext(progress, atEnd));
    std::ofstream(path, std::ios::binary | std::ios::app) << "def";
    EXPECT_EQ(ReadAll(), (std::vector<float>{100, 0}));
    EXPECT_EQ(TextsOf().sha1, InMemory(DigestAlgorithm::kSha1, "abcdef"));
}

TEST(Crc32, BlocksChainToTheCrcOfTheWhole) {
    std::string bytes = RandomBytes(100000);
    uint32_t whole = Crc32Update(bytes.data(), bytes.size(), 0);
    for (std::size_t block : {1, 7, 64, 4096, 99999}) {
        uint32_t crc = 0;
        for (std::size_t at = 0; at < bytes.size(); at += block) {
            crc = Crc32Update(bytes.data() + at, std::min(block, bytes.size() - at), crc);
        }
        EXPECT_EQ(crc, whole) << block;
    }
    EXPECT_EQ(Crc32Update("123456789", 9, 0), 0xCBF43926u);
    EXPECT_EQ(Crc32Update("", 0, 0), 0u);
}

TEST_F(DigestEngineTest, UppercaseChangesOnlyTheLettersAToF) {
    std::string path = dir.Write("case", RandomBytes(5000));
    ASSERT_TRUE(engine->Open(path, kAll));
    ReadAll();
    Texts lower = TextsOf(false);
    Texts upper = TextsOf(true);
    for (const auto& [l, u] :
         {std::pair{lower.md5, upper.md5}, std::pair{lower.sha1, upper.sha1},
          std::pair{lower.crc32, upper.crc32}, std::pair{lower.sha256, upper.sha256}}) {
        ASSERT_EQ(l.size(), u.size());
        ASSERT_FALSE(l.empty());
        for (std::size_t i = 0; i < l.size(); ++i) {
            EXPECT_EQ(u[i], std::isdigit(l[i]) ? l[i] : l[i] - 'a' + 'A') << l;
        }
    }
}

TEST_F(DigestEngineTest, Sha256IsDroppedAloneWhenItsObjectCannotBeMade) {
    std::string path = dir.Write("abc", "abc");
    service->refuseSha256 = true;
    Texts got = Hash(path);
    EXPECT_EQ(got.md5, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(got.sha1, "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(got.crc32, "352441c2");
    EXPECT_EQ(got.sha256, "");

    service->refuseSha256 = false;
    EXPECT_FALSE(Hash(path).sha256.empty());
}

TEST_F(DigestEngineTest, DigestWhoseUpdateFailedHasNoText) {
    service->breakSha256Updates = true;
    // A small file is digested on the caller's thread, a large one in the lanes.
    for (const std::string& bytes : {std::string("abc"), RandomBytes(3 * 1048576)}) {
        ASSERT_TRUE(engine->Open(dir.Write("broken", bytes), kAll));
        float progress = 0;
        bool atEnd = false;
        EXPECT_FALSE(engine->ReadNext(progress, atEnd)) << bytes.size();
        ReadAll();
        Texts got = TextsOf();
        EXPECT_EQ(got.md5, InMemory(DigestAlgorithm::kMd5, bytes)) << bytes.size();
        EXPECT_EQ(got.sha256, "") << bytes.size();
    }
}

TEST_F(DigestEngineTest, OpenFailsWhenMd5ObjectCannotBeMade) {
    service->refuseMd5 = true;
    EXPECT_FALSE(engine->Open(dir.Write("abc", "abc"), kAll));
    EXPECT_EQ(service->liveObjects, 0);
    EXPECT_TRUE(engine->Open(dir.Write("abc", "abc"), {false, true, true, true}));
}

TEST_F(DigestEngineTest, OpenWhileOpenClosesTheFirstFile) {
    ASSERT_TRUE(engine->Open(dir.Write("first", RandomBytes(20000000)), kAll));
    float progress = 0;
    bool atEnd = false;
    engine->ReadNext(progress, atEnd);
    EXPECT_EQ(service->liveObjects, 3);

    Texts second = Hash(dir.Write("second", "abc"), {true, false, false, false});
    EXPECT_EQ(second.md5, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(second.sha1, "");
    EXPECT_EQ(second.sha256, "");
    EXPECT_EQ(service->liveObjects, 0);
}

TEST_F(DigestEngineTest, OnlyRegularFilesOpenAndNothingOfTheLastFileRemains) {
    std::string fifo = dir.path + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string file = dir.Write("file", "abc");
    for (const std::string& path : {fifo, dir.path, std::string("/dev/null"), dir.path + "/none"}) {
        ASSERT_TRUE(engine->Open(file, kAll));
        ASSERT_FALSE(engine->ModifiedText().empty());
        EXPECT_FALSE(engine->Open(path, kAll)) << path;
        EXPECT_EQ(engine->FileSize(), 0u);
        EXPECT_EQ(engine->ModifiedText(), "");
        EXPECT_EQ(engine->CreatedText(), "");
        EXPECT_EQ(service->liveObjects, 0);
    }
}

TEST_F(DigestEngineTest, ModifiedTimeIsTheFilesLastWriteTime) {
    std::string path = dir.Write("dated", "x");
    const timespec times[2] = {{0, UTIME_OMIT}, {1416384330, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_TRUE(engine->Open(path, kAll));
    EXPECT_EQ(engine->ModifiedText(), FormatFileTime(1416384330));
}

TEST_F(DigestEngineTest, ReadErrorIsNotTheEndOfTheFile) {
    // Reading a process's own memory from offset 0 fails with EIO: page 0 is never mapped.
    ASSERT_TRUE(engine->Open("/proc/self/mem", kAll));
    float progress = 0;
    bool atEnd = false;
    EXPECT_FALSE(engine->ReadNext(progress, atEnd));
    EXPECT_TRUE(atEnd);
    EXPECT_TRUE(engine->ReadFailed());
    Texts got = TextsOf();
    EXPECT_EQ(got.md5 + got.sha1 + got.crc32 + got.sha256, "");

    EXPECT_FALSE(Hash(dir.Write("abc", "abc")).md5.empty());
    EXPECT_FALSE(engine->ReadFailed());
}

TEST_F(DigestEngineTest, DataBeyondTheSizeTakenAtOpenCapsProgressAt100) {
    // /proc files report size 0 and still have content.
    ASSERT_TRUE(engine->Open("/proc/self/status", kAll));
    EXPECT_EQ(engine->FileSize(), 0u);
    EXPECT_EQ(ReadAll(), (std::vector<float>{100, 0}));
}

TEST(DigestEngineUnready, EveryOpenFailsWithoutAService) {
    DigestEngine engine(nullptr);
    EXPECT_FALSE(engine.AcquireProvider(false, false));
    EXPECT_FALSE(engine.Open("/proc/self/status", kAll));

    DigestEngine notAcquired;
    EXPECT_FALSE(notAcquired.Open("/proc/self/status", kAll));
}

TEST(DigestEngineBaseProvider, OffersNoSha256) {
    DigestEngine engine;
    ASSERT_TRUE(engine.AcquireProvider(true, false));
    ASSERT_TRUE(engine.Open("/proc/self/status", kAll));
    float progress = 0;
    bool atEnd = false;
    while (!atEnd) {
        engine.ReadNext(progress, atEnd);
    }
    EXPECT_EQ(engine.DigestText(kCalgSha256, false), "");
    EXPECT_EQ(engine.DigestText(kCalgMd5, false).size(), 32u);
    EXPECT_EQ(engine.DigestText(0x8001, false), "");
    EXPECT_EQ(OsClass(), 3);
}

// Slow (reads 4 GiB of zeros): run with --gtest_also_run_disabled_tests.
TEST_F(DigestEngineTest, DISABLED_SparseFileOver4GiBHasItsFullSizeAndProgress) {
    std::string path = dir.Write("sparse", "");
    constexpr uint64_t kSize = (uint64_t{1} << 32) + 12345;
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kSize)), 0);
    ASSERT_TRUE(engine->Open(path, {false, false, false, false}));
    EXPECT_EQ(engine->FileSize(), kSize);
    std::vector<float> progress = ReadAll();
    ASSERT_EQ(progress.size(), kSize / DigestEngine::kBufferSize + 2);
    for (std::size_t i = 0; i + 2 < progress.size(); ++i) {
        double expected = double(i + 1) * DigestEngine::kBufferSize * 100 / double(kSize);
        EXPECT_NEAR(progress[i], expected, 1e-4) << i;
    }
    EXPECT_EQ(progress[progress.size() - 2], 100.0f);
    EXPECT_EQ(progress.back(), 0.0f);
}

}  // namespace
}  // namespace rizo
