// SPDX-License-Identifier: MIT
// Block devices named or dropped: read whole to their driver's size or to a byte limit, their own
// rule for a change, and the window's path from a drop to a hashed row. A loop device stands for
// the disk; coreutils read the same device for the expected digests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <random>

#include "engine/batch_worker.h"
#include "engine/digest_engine.h"
#include "filelist/file_table.h"
#include "filelist/pending_batch.h"
#include "tests/deadline.h"
#include "tests/loop_device.h"

namespace rizo {
namespace {

constexpr HashSelection kSha256 = {false, false, false, true};

// Whole sectors, and more than one piece, so that the limit falls inside and between reads.
std::string DeviceBytes() {
    std::mt19937 generator(2026);
    std::string bytes(2 * DigestEngine::kPieceSize + 7 * 512, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

// The digest that a sha256sum command line prints first.
std::string Printed(const std::string& command) {
    return test::CommandOutput(command).substr(0, 64);
}

std::string Sha256sum(const std::string& path) {
    return Printed("sha256sum " + test::Quoted(path));
}

struct Read {
    std::string digest;
    std::vector<float> progress;
    uint64_t bytes = 0;
};

Read ReadAll(DigestEngine& engine) {
    Read read;
    const uint64_t before = engine.BytesReadInTotal();
    float percent = 0;
    for (bool atEnd = false; !atEnd;) {
        engine.ReadNext(percent, atEnd);
        read.progress.push_back(percent);
    }
    read.bytes = engine.BytesReadInTotal() - before;
    read.digest = engine.DigestText(kCalgSha256, false);
    engine.Close();
    return read;
}

class BlockDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (loop.Path().empty()) {
            GTEST_SKIP() << test::kNoLoopDevice;
        }
        ASSERT_TRUE(engine.AcquireProvider(false, false));
    }

    const std::string bytes = DeviceBytes();
    test::LoopDevice loop{bytes};
    DigestEngine engine;
};

// The device is read to its driver's size, with progress to 100, or to a byte limit as
// `head -c N` reads it; a limit past its end, or past the end of a file that tells its size only
// there (/dev/null), is a short file with no digest, found without a read where the size is known.
TEST_F(BlockDeviceTest, IsReadWholeOrToTheByteLimitAsSha256sumAndHeadReadIt) {
    const std::string device = loop.Path();
    const uint64_t size = bytes.size();
    struct Case {
        std::string path;
        uint64_t limit;
        bool isShort;
    };
    const Case cases[] = {
        {device, DigestEngine::kWhole, false},
        {device, 0, false},
        {device, 1000, false},
        {device, DigestEngine::kPieceSize + 1, false},
        {device, size, false},
        {device, size + 1, true},
        {loop.Image(), size + 1, true},
        {"/dev/null", 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " limit " + std::to_string(c.limit));
        engine.SetByteLimit(c.limit);
        ASSERT_TRUE(engine.Open(c.path, kSha256));
        const uint64_t shown = engine.FileSize();
        // The storage rule is asked about the disk that is read, not about /dev.
        struct stat status {};
        ASSERT_EQ(stat(c.path.c_str(), &status), 0);
        EXPECT_EQ(engine.Device(), S_ISBLK(status.st_mode) ? status.st_rdev : status.st_dev);
        const Read read = ReadAll(engine);
        EXPECT_EQ(engine.ShortOfLimit(), c.isShort);
        EXPECT_FALSE(engine.Changed());
        if (c.isShort) {
            EXPECT_EQ(read.bytes, 0u);
            EXPECT_EQ(read.digest, "");
            continue;
        }
        const bool whole = c.limit == DigestEngine::kWhole;
        EXPECT_EQ(shown, whole ? size : c.limit);
        EXPECT_EQ(read.bytes, shown);
        EXPECT_EQ(read.digest, whole ? Sha256sum(c.path)
                                     : Printed("head -c " + std::to_string(c.limit) + " " +
                                               test::Quoted(c.path) + " | sha256sum"));
        EXPECT_EQ(read.progress.back(), 0.0f);
        if (shown > 0) {
            EXPECT_EQ(read.progress[read.progress.size() - 2], 100.0f);
        }
    }
}

// Its node's times move as others use the device, which is no change of what it holds; a new size
// (another medium, or a loop device grown) is.
TEST_F(BlockDeviceTest, ANewSizeIsAChangeAndNewNodeTimesAreNot) {
    const std::string device = loop.Path();
    const std::string touch = "touch " + test::Quoted(device);
    const std::string grow =
        "truncate -s +1M " + test::Quoted(loop.Image()) + " && losetup -c " + test::Quoted(device);
    for (const std::string& meanwhile : {touch, grow}) {
        SCOPED_TRACE(meanwhile);
        bool done = false;
        engine.SetReadCall([&](int fd, void* buffer, std::size_t count) {
            if (!std::exchange(done, true)) {
                EXPECT_EQ(std::system(meanwhile.c_str()), 0);
            }
            return ::read(fd, buffer, count);
        });
        ASSERT_TRUE(engine.Open(device, kSha256));
        const Read read = ReadAll(engine);
        EXPECT_EQ(engine.Changed(), meanwhile == grow);
        EXPECT_EQ(read.digest, meanwhile == grow ? "" : Sha256sum(device));
    }
}

// Posts nothing the test waits on but the batch's end; results are read from the worker.
class EndPoster : public MessagePoster {
public:
    void Post(int message, int64_t, int64_t lParam) override {
        std::lock_guard guard(lock);
        if (message == UM_HASH_FILE_DONE) {
            results.push_back(lParam);
        }
        ended = ended || message == UM_HASH_BATCH_DONE;
    }
    bool Ended() {
        std::lock_guard guard(lock);
        return ended;
    }
    std::vector<int64_t> results;

private:
    std::mutex lock;
    bool ended = false;
};

class QuietHost : public BatchHost {
    void SetSortable(bool) override {}
    void RefreshCommandStates() override {}
    void MarkDuplicates() override {}
    void ShowProgress() override {}
    void Beep() override {}
};

// What the window does with a dropped device: a row of its own, hashed whole, its size the
// device's and in the batch's byte total.
TEST_F(BlockDeviceTest, ADroppedDeviceBecomesARowAndIsHashedWholeWithItsSize) {
    const std::string device = loop.Path();
    EndPoster poster;
    QuietHost host;
    BatchWorker worker(
        [] {
            auto made = std::make_unique<DigestEngine>();
            made->AcquireProvider(false, false);
            return made;
        },
        poster, host);
    EXPECT_TRUE(CollectDroppedItems({device}, worker.PendingPaths).empty());
    ASSERT_EQ(worker.PendingPaths, std::vector<std::string>{device});
    FileTable rows;
    std::vector<std::string> paths = worker.PendingPaths;
    CommitPending(rows, paths, worker.PendingRows, false);
    ASSERT_EQ(rows.RowCount(), 1);
    EXPECT_EQ(rows.Cell(0, kColFilename), device.substr(device.rfind('/') + 1));

    ASSERT_TRUE(worker.StartWorker({kSha256}));
    ASSERT_TRUE(test::WaitUntil([&poster] { return poster.Ended(); })) << "the batch did not end";
    worker.FinishBatch();
    ASSERT_EQ(poster.results.size(), 1u);
    const FileEntry entry = worker.Result(poster.results[0]);
    EXPECT_EQ(entry.outcome, FileOutcome::kRead);
    EXPECT_EQ(entry.size, bytes.size());
    EXPECT_EQ(entry.sha256, Sha256sum(device));
    ASSERT_TRUE(test::WaitUntil([&worker] { return worker.Counts().totalKnown; }))
        << "the sizes were never summed";
    EXPECT_EQ(worker.Counts().bytesTotal, bytes.size());
}

}  // namespace
}  // namespace rizo
