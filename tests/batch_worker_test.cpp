// SPDX-License-Identifier: MIT
// The hashing batch worker on real files: message sequences, results, stop, end of batch, threads.
#include "engine/batch_worker.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <sstream>
#include <thread>

#include "engine/storage_rule.h"
#include "tests/deadline.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

constexpr uint64_t k25MiB = 26214400;

// One posted message with the progress state as the worker left it at that moment.
struct Posted {
    int message = 0;
    int64_t wParam = 0, lParam = 0;
    float progress = 0;
    std::string name, folder;
    FileEntry entry;  // Result(lParam) read when UM_HASH_FILE_DONE was posted
    BatchCounts counts;
};

// Records on the worker thread; the test thread waits for the end of the batch.
class RecordingPoster : public MessagePoster {
public:
    void Post(int message, int64_t wParam, int64_t lParam) override {
        Posted posted{message,
                      wParam,
                      lParam,
                      worker->LastProgress(),
                      worker->CurrentName(),
                      worker->CurrentFolder(),
                      {},
                      worker->Counts()};
        if (message == UM_HASH_FILE_DONE) {
            posted.entry = worker->Result(lParam);
        }
        if (onPost) {
            onPost(posted);
        }
        std::lock_guard lock(mutex);
        messages.push_back(posted);
        changed.notify_all();
    }

    // What has been posted so far; with `wait`, once the batch has ended, and forgets it.
    std::vector<Posted> Messages(bool wait) {
        std::unique_lock lock(mutex);
        if (!wait) {
            return messages;
        }
        if (!changed.wait_for(lock, test::kDeadline, [this] {
                return !messages.empty() && messages.back().message == UM_HASH_BATCH_DONE;
            })) {
            ADD_FAILURE() << "the batch did not end";
        }
        return std::exchange(messages, {});
    }

    BatchWorker* worker = nullptr;
    std::function<void(const Posted&)> onPost;  // runs on the worker thread

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Posted> messages;
};

class RecordingHost : public BatchHost {
public:
    void SetSortable(bool on) override { calls.push_back(on ? "sortable on" : "sortable off"); }
    void RefreshCommandStates() override { calls.push_back("commands" + Busy()); }
    void MarkDuplicates() override { calls.push_back("mark" + Busy()); }
    void ShowProgress() override {
        calls.push_back("progress " + std::to_string(worker->CurrentRow()) + " " +
                        std::to_string(worker->LastProgress()) + " '" + worker->CurrentName() +
                        "' '" + worker->CurrentFolder() + "'");
    }
    void Beep() override { calls.push_back("beep"); }
    std::string Busy() const { return worker->Busy() ? ", busy" : ""; }

    BatchWorker* worker = nullptr;
    std::vector<std::string> calls;
};

class BatchWorkerTest : public ::testing::Test {
protected:
    BatchWorkerTest() {
        options.hashes = {true, true, true, true};
        poster.worker = host.worker = &worker;
    }

    // Holes read as zeros, so a large file costs no disk space.
    std::string Sparse(const std::string& name, uint64_t size) const {
        std::filesystem::resize_file(folder.File(name, ""), size);
        return folder.Path() + name;
    }

    // Queues the paths for rows 0, 1, 2, ... unless rows are given.
    void Queue(const std::vector<std::string>& paths, std::vector<int32_t> rows = {}) {
        for (int32_t row = 0; rows.size() < paths.size(); ++row) {
            rows.push_back(row);
        }
        worker.PendingPaths = paths;
        worker.PendingRows = rows;
    }

    // Runs a batch to its end.
    std::vector<Posted> Run(const std::vector<std::string>& paths, std::vector<int32_t> rows = {}) {
        Queue(paths, std::move(rows));
        EXPECT_TRUE(worker.StartWorker(options));
        std::vector<Posted> posted = poster.Messages(true);
        worker.FinishBatch();
        return posted;
    }

    // Starts the batch; at the first progress message of `row` the worker waits until the test
    // thread has requested the stop.
    void StopAtFirstProgressOf(int32_t row, const std::vector<std::string>& paths) {
        std::atomic<bool> atStopPoint = false;
        poster.onPost = [this, row, &atStopPoint](const Posted& posted) {
            if (posted.message == UM_HASH_PROGRESS && worker.CurrentRow() == row) {
                atStopPoint = true;
                EXPECT_TRUE(test::WaitUntil([this] { return worker.StopRequested(); }))
                    << "the stop was not requested";
            }
        };
        Queue(paths);
        ASSERT_TRUE(worker.StartWorker(options));
        EXPECT_TRUE(test::WaitUntil([&atStopPoint] { return atStopPoint.load(); }))
            << "row " << row << " was not reached";
        worker.StopHashing();
        poster.onPost = nullptr;
    }

    ::testing::AssertionResult SizesKnown() const {
        if (test::WaitUntil([this] { return worker.Counts().totalKnown; })) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the sizes were never summed";
    }

    test::TempFolder folder;
    BatchOptions options;
    RecordingPoster poster;
    RecordingHost host;
    // How each engine reads that the worker makes from now on; ::read when empty.
    DigestEngine::ReadCall readCall;
    uint32_t blockSize = DigestEngine::kBufferSize;
    const BatchWorker::EngineMaker makeEngine = [this] {
        auto engine = std::make_unique<DigestEngine>();
        engine->AcquireProvider(false, false);
        engine->SetReadCall(readCall);
        engine->SetBlockSize(blockSize);
        return engine;
    };
    BatchWorker worker{makeEngine, poster, host};
};

// The messages in order: "p" and the progress, "f" file done, "b" batch done ("p" alone: other).
std::string Trace(const std::vector<Posted>& posted) {
    std::ostringstream trace;
    for (const Posted& m : posted) {
        trace << (m.message == UM_HASH_FILE_DONE    ? " f"
                  : m.message == UM_HASH_BATCH_DONE ? " b"
                                                    : " p");
        if (m.message == UM_HASH_PROGRESS) {
            trace << m.progress;
        }
    }
    return trace.str().substr(1);
}

// Drops the files' bytes from memory, so that the batch finds them on storage and reads them ahead,
// as after a restart. Where the folder lives in memory (tmpfs) they stay.
void Evict(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd >= 0) {
            ::fdatasync(fd);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

bool HasNoDigest(const FileEntry& entry) {
    return (entry.md5 + entry.sha1 + entry.crc32 + entry.sha256 + entry.sha224 + entry.sha384 +
            entry.sha512 + entry.blake2b + entry.xxh64 + entry.xxh3 + entry.xxh128)
        .empty();
}

TEST_F(BatchWorkerTest, EachKindOfFilePostsItsProgressThenItsResult) {
    struct Case {
        std::string label;
        std::optional<uint64_t> size;  // none: the file does not exist
        std::string trace;
    };
    const std::vector<Case> cases = {
        {"empty", 0, "p0 f b"},
        {"one block", 3, "p100 p0 p0 f b"},
        {"25 MiB", k25MiB, "p40 p80 p100 p0 p0 f b"},
        {"missing", std::nullopt, "f b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string path = c.size ? Sparse(c.label, *c.size) : folder.Path() + c.label;
        std::vector<Posted> posted = Run({path});
        ASSERT_EQ(Trace(posted), c.trace);
        const FileEntry& entry = posted[posted.size() - 2].entry;
        EXPECT_EQ(entry.size, c.size.value_or(0));
        EXPECT_EQ(entry.path, path);
        EXPECT_EQ(entry.name, c.label);
        EXPECT_EQ(entry.modified.empty(), !c.size);
        EXPECT_EQ(HasNoDigest(entry), !c.size);
        EXPECT_EQ(entry.outcome, c.size ? FileOutcome::kRead : FileOutcome::kNotOpened);
    }
}

// Read in 2,501 blocks of 0.04 percentage points each, a file posts its progress once per tenth of
// a point, at the first block in each new tenth: 1,000 times, not 2,501.
TEST_F(BatchWorkerTest, ProgressIsPostedAtEachNewTenthOfAPercentagePointOnly) {
    blockSize = 4096;
    BatchWorker smallBlocks{makeEngine, poster, host};
    poster.worker = host.worker = &smallBlocks;
    smallBlocks.PendingPaths = {Sparse("blocks", 2500 * 4096 + 1)};
    smallBlocks.PendingRows = {0};
    ASSERT_TRUE(smallBlocks.StartWorker(options));
    std::vector<int> tenths;
    for (const Posted& posted : poster.Messages(true)) {
        if (posted.message == UM_HASH_PROGRESS) {
            tenths.push_back(static_cast<int>(posted.progress * 10.0f));
        }
    }
    smallBlocks.FinishBatch();
    std::vector<int> expected(1000);
    std::iota(expected.begin(), expected.end(), 1);
    // The read that finds the end, then the file's last report.
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(tenths, expected);
}

TEST_F(BatchWorkerTest, ResultIndexFollowsProcessingOrderAndRowFollowsTheQueue) {
    const std::vector<std::string> paths = {folder.File("a", "1"), folder.File("b", "22"),
                                            folder.File("c", "333")};
    const std::vector<int32_t> rows = {7, 3, 5};
    std::vector<Posted> posted = Run(paths, rows);
    ASSERT_EQ(posted.size(), 3 * 4 + 1u);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const Posted& done = posted[4 * i + 3];
        EXPECT_EQ(done.counts.filesDone, i + 1);
        EXPECT_EQ(done.counts.filesTotal, 3u);
        // Files further on may have been read already by other workers.
        EXPECT_GE(done.counts.bytesDone, (i + 1) * (i + 2) / 2);
        EXPECT_LE(done.counts.bytesDone, 6u);
        EXPECT_EQ(done.wParam, rows[i]);
        EXPECT_EQ(done.lParam, static_cast<int64_t>(i));
        EXPECT_EQ(done.entry.path, paths[i]);
        EXPECT_EQ(worker.Result(static_cast<int64_t>(i)).path, paths[i]);
    }
    EXPECT_TRUE(worker.PendingPaths.empty());
    EXPECT_TRUE(worker.PendingRows.empty());
    // The sizes are summed on a thread of their own, which may end after the batch.
    ASSERT_TRUE(SizesKnown());
    EXPECT_EQ(worker.Counts().bytesTotal, 6u);
    worker.SumSizesAhead(false);
    EXPECT_FALSE(Run(paths).back().counts.totalKnown);
}

// The window sums a scan's sizes before its batch starts; a pass dropped without a batch is not
// taken for the next batch's.
TEST_F(BatchWorkerTest, SizesSummedAheadOfABatchAreItsOwn) {
    Queue({folder.File("big", "4444")});
    worker.SumPendingSizes();
    ASSERT_TRUE(SizesKnown());
    worker.DropPendingSizes();
    for (const bool ahead : {false, true}) {
        Queue({folder.File("a", "1"), folder.File("b", "22")});
        if (ahead) {
            worker.SumPendingSizes();
        }
        ASSERT_TRUE(worker.StartWorker(options));
        poster.Messages(true);
        worker.FinishBatch();
        ASSERT_TRUE(SizesKnown());
        EXPECT_EQ(worker.Counts().bytesTotal, 3u);
    }
}

TEST_F(BatchWorkerTest, NameAndFolderComeFromTheLastSlash) {
    // None of these exist; the empty path keeps the name and folder shown before it.
    const std::vector<std::vector<std::string>> cases = {
        {"/nowhere/deeper/file.txt", "file.txt", "/nowhere/deeper/"},
        {"/rootfile", "rootfile", "/"},
        {"relative-name", "relative-name", ""},
        {"", "relative-name", ""},
        {"/nowhere/dir/", "", "/nowhere/dir/"},
    };
    std::vector<std::string> paths;
    for (const auto& c : cases) {
        paths.push_back(c[0]);
    }
    std::vector<Posted> posted = Run(paths);
    ASSERT_EQ(posted.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(posted[i].name, cases[i][1]) << cases[i][0];
        EXPECT_EQ(posted[i].folder, cases[i][2]) << cases[i][0];
        EXPECT_EQ(posted[i].entry.path, cases[i][0]);
        EXPECT_EQ(posted[i].entry.size, 0u);
    }
    EXPECT_EQ(posted[3].entry.name, "");
}

// What a stop leaves of the file being read is the many-files case's.
TEST_F(BatchWorkerTest, AfterAStopTheNextBatchWaitsForItsEndAndThenRunsToItsOwn) {
    const std::string large = Sparse("large", k25MiB);
    StopAtFirstProgressOf(0, {large});
    EXPECT_EQ(Trace(poster.Messages(true)), "p40 p40 f b");
    Queue({large});
    EXPECT_FALSE(worker.StartWorker(options)) << "a new batch waits for the end of the last one";
    worker.FinishBatch();
    worker.StopHashing();  // idle: must not stop the next batch
    std::vector<Posted> full = Run({large, large});
    ASSERT_EQ(full.size(), 13u);
    EXPECT_EQ(full[5].entry.outcome, FileOutcome::kRead);
    EXPECT_EQ(full[11].entry.outcome, FileOutcome::kRead);
    EXPECT_EQ(full[11].entry.md5, full[5].entry.md5);
    EXPECT_FALSE(full[11].entry.md5.empty());
}

// A read that does not return holds neither Stop nor the next batch: after the wait its file is
// reported not finished and the batch ends; the thread left behind posts nothing when it wakes, and
// ends holding nothing the window or a later batch uses.
TEST_F(BatchWorkerTest, StopLeavesAWorkerBlockedInAReadAndTheNextBatchRuns) {
    // Shared with the thread left behind, which may outlive the test's locals.
    struct Seam {
        std::mutex lock;
        std::condition_variable released;
        bool release = false;
        std::atomic<int> calls = 0;
        std::atomic<bool> blocked = false;
        std::atomic<bool> returned = false;
    };
    auto seam = std::make_shared<Seam>();
    const std::string stuck = folder.File("stuck", "22"), next = folder.File("next", "1");
    // Only the stuck file's first read blocks; other workers read theirs meanwhile.
    readCall = [seam, stuck](int fd, void* buffer, std::size_t count) {
        if (std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)) == stuck &&
            seam->calls++ == 0) {
            seam->blocked = true;
            std::unique_lock lock(seam->lock);
            seam->released.wait(lock, [&] { return seam->release; });
            seam->returned = true;
        }
        return read(fd, buffer, count);
    };
    auto blocking = std::make_optional<BatchWorker>(makeEngine, poster, host);
    poster.worker = host.worker = &*blocking;
    blocking->PendingPaths = {stuck, next};
    blocking->PendingRows = {4, 5};
    ASSERT_TRUE(blocking->StartWorker(options));
    ASSERT_TRUE(test::WaitUntil([&seam] { return seam->blocked.load(); }));
    blocking->StopHashing();
    EXPECT_FALSE(seam->returned) << "Stop returned while the read was still blocked";
    std::vector<Posted> posted = poster.Messages(true);
    ASSERT_EQ(Trace(posted), "f b");
    EXPECT_EQ(posted[0].wParam, 4);
    EXPECT_EQ(posted[0].entry.outcome, FileOutcome::kNotFinished);
    EXPECT_EQ(posted[0].entry.path, stuck);
    blocking->FinishBatch();
    EXPECT_FALSE(blocking->JoinLeftWorkers(std::chrono::milliseconds(0)))
        << "the worker left in the read cannot have ended";

    blocking->PendingPaths = {next};
    blocking->PendingRows = {5};
    ASSERT_TRUE(blocking->StartWorker(options));
    posted = poster.Messages(true);
    blocking->FinishBatch();
    EXPECT_EQ(Trace(posted), "p100 p0 p0 f b");
    EXPECT_EQ(posted[3].entry.outcome, FileOutcome::kRead);
    {
        std::lock_guard lock(seam->lock);
        seam->release = true;
    }
    seam->released.notify_all();
    // The thread's real end, not just its read's: after it nothing it owned may be in use.
    ASSERT_TRUE(blocking->JoinLeftWorkers(test::kDeadline)) << "the worker left never ended";
    EXPECT_TRUE(poster.Messages(false).empty());
    blocking.reset();
    readCall = nullptr;
    EXPECT_EQ(seam.use_count(), 1) << "an engine that read through the seam is still alive";
}

TEST_F(BatchWorkerTest, StartAndFinishDriveTheWindowInOrder) {
    for (bool beep : {true, false}) {
        host.calls.clear();
        options.beep = beep;
        Run({folder.File("x", "x")});
        std::vector<std::string> expected = {"sortable off", "commands, busy",
                                             "mark",         "progress -1 0.000000 '' ''",
                                             "commands",     "sortable on"};
        if (beep) {
            expected.push_back("beep");
        }
        EXPECT_EQ(host.calls, expected) << beep;
    }
}

// Enough files for both threads, small ones hashed ahead and larger ones read live, a missing one
// and an empty one among them, none in memory at first: what the window is told must not depend on
// which thread read what, nor on what was read ahead.
TEST_F(BatchWorkerTest, ManyFilesGiveTheSameMessagesAndResultsInQueueOrderAndStopMidway) {
    // Two digests beyond the window's four, which the results carry too.
    options.hashes.sha512 = options.hashes.xxh3 = true;
    std::vector<std::string> paths;
    std::vector<std::string> traces;
    for (std::size_t i = 0; i < 300; ++i) {
        const std::string name = "f" + std::to_string(i);
        const std::size_t size = i % 37 == 5 ? 300 * 1024 : i % 5;
        if (i % 61 == 7) {
            paths.push_back(folder.Path() + name);
            traces.push_back("f");
            continue;
        }
        paths.push_back(folder.File(name, std::string(size, static_cast<char>('a' + i % 26))));
        traces.push_back(size == 0 ? "p0 f" : "p100 p0 p0 f");
    }
    // The messages of the files before `end`, and `last`.
    const auto expected = [&traces](std::size_t end, const std::string& last) {
        std::string trace;
        for (std::size_t i = 0; i < end; ++i) {
            trace += traces[i] + " ";
        }
        return trace + last;
    };
    Evict(paths);
    Queue(paths);
    ASSERT_TRUE(worker.StartWorker(options));
    std::vector<Posted> posted;
    // Results and progress read from this thread while the worker appends.
    const auto deadline = std::chrono::steady_clock::now() + test::kDeadline;
    while ((posted.empty() || posted.back().message != UM_HASH_BATCH_DONE) &&
           std::chrono::steady_clock::now() < deadline) {
        posted = poster.Messages(false);
        EXPECT_LT(worker.CurrentRow(), 300);
        EXPECT_LE(worker.Counts().filesDone, 300u);
    }
    posted = poster.Messages(true);
    worker.FinishBatch();
    ASSERT_EQ(Trace(posted), expected(paths.size(), "b"));
    DigestEngine alone;
    ASSERT_TRUE(alone.AcquireProvider(false, false));
    std::size_t index = 0;
    for (const Posted& message : posted) {
        if (message.message != UM_HASH_FILE_DONE) {
            continue;
        }
        SCOPED_TRACE(paths[index]);
        EXPECT_EQ(message.wParam, static_cast<int64_t>(index));
        EXPECT_EQ(message.entry.path, paths[index]);
        if (alone.Open(paths[index], options.hashes)) {
            float progress = 0;
            for (bool atEnd = false; !atEnd;) {
                alone.ReadNext(progress, atEnd);
            }
            FileEntry texts;
            alone.TakeDigestTexts(texts, false);
            EXPECT_EQ(message.entry.md5, texts.md5);
            EXPECT_EQ(message.entry.sha256, texts.sha256);
            EXPECT_EQ(message.entry.sha512, texts.sha512);
            EXPECT_EQ(message.entry.xxh3, texts.xxh3);
            EXPECT_FALSE(texts.xxh3.empty());
        } else {
            EXPECT_EQ(message.entry.outcome, FileOutcome::kNotOpened);
        }
        ++index;
    }
    EXPECT_EQ(index, paths.size());

    // The file of row 151 holds one byte: the stop comes at its first progress message.
    Evict(paths);
    StopAtFirstProgressOf(151, paths);
    posted = poster.Messages(true);
    EXPECT_EQ(worker.Result(152).path, "");
    EXPECT_TRUE(worker.Busy()) << "until the end of the batch is taken";
    worker.FinishBatch();
    EXPECT_FALSE(worker.Busy());
    ASSERT_EQ(Trace(posted), expected(151, "p100 p100 f b"));
    // The stopped file keeps its facts but no digest.
    const FileEntry& stopped = posted[posted.size() - 2].entry;
    EXPECT_EQ(stopped.name, "f151");
    EXPECT_EQ(stopped.size, 1u);
    EXPECT_FALSE(stopped.modified.empty());
    EXPECT_TRUE(HasNoDigest(stopped));
    int64_t last = -1;
    for (const Posted& message : posted) {
        if (message.message == UM_HASH_FILE_DONE) {
            EXPECT_EQ(message.wParam, ++last);
            EXPECT_EQ(message.entry.outcome, last == 151      ? FileOutcome::kStopped
                                             : last % 61 == 7 ? FileOutcome::kNotOpened
                                                              : FileOutcome::kRead);
        }
    }
    EXPECT_EQ(last, 151);
}

// Several workers read files at once where the storage allows it, and one at a time where reads
// of several files turn into seeks (a spinning disk) or queue on one connection (a network file
// system), in queue order, whatever the cores; the storage's answer is forced here both ways.
TEST_F(BatchWorkerTest, FilesAreReadSeveralAtOnceOnlyWhereTheStorageAllows) {
    if (std::thread::hardware_concurrency() < 2) {
        GTEST_SKIP() << "one core has one worker";
    }
    struct Reads {
        std::atomic<int> now = 0;
        std::atomic<int> most = 0;
        std::atomic<bool> waitForAnother = false;
        std::mutex lock;
        // The files in the order their reads began.
        std::vector<std::string> order;
    };
    auto reads = std::make_shared<Reads>();
    readCall = [reads](int fd, void* buffer, std::size_t count) {
        const int inRead = ++reads->now;
        {
            const std::string path =
                std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd));
            std::lock_guard lock(reads->lock);
            if (std::find(reads->order.begin(), reads->order.end(), path) == reads->order.end()) {
                reads->order.push_back(path);
            }
        }
        for (int most = reads->most;
             inRead > most && !reads->most.compare_exchange_weak(most, inRead);) {
        }
        // The first read waits, with a deadline, for a second to begin beside it.
        if (reads->waitForAnother.exchange(false)) {
            EXPECT_TRUE(test::WaitUntil([&reads] { return reads->most >= 2; }))
                << "no second file was read beside the first";
        }
        const ssize_t got = read(fd, buffer, count);
        --reads->now;
        return got;
    };
    blockSize = 64 * 1024;
    std::vector<std::string> paths;
    for (int i = 0; i < 12; ++i) {
        paths.push_back(Sparse("f" + std::to_string(i), 1024 * 1024));
    }
    for (const bool parallel : {true, false}) {
        SCOPED_TRACE(parallel ? "parallel" : "one at a time");
        const test::ScopedEnv force(StorageRule::kForceVariable, parallel ? "1" : "0");
        BatchWorker fresh{makeEngine, poster, host};
        poster.worker = host.worker = &fresh;
        reads->most = 0;
        reads->order.clear();
        reads->waitForAnother = parallel;
        fresh.PendingPaths = paths;
        fresh.PendingRows.resize(paths.size());
        std::iota(fresh.PendingRows.begin(), fresh.PendingRows.end(), 0);
        ASSERT_TRUE(fresh.StartWorker(options));
        const std::vector<Posted> posted = poster.Messages(true);
        fresh.FinishBatch();
        EXPECT_EQ(std::count_if(posted.begin(), posted.end(),
                                [](const Posted& m) {
                                    return m.message == UM_HASH_FILE_DONE &&
                                           m.entry.outcome == FileOutcome::kRead;
                                }),
                  12);
        EXPECT_EQ(reads->most >= 2, parallel) << reads->most;
        if (!parallel) {
            EXPECT_EQ(reads->order, paths) << "files read alone are read in queue order";
        }
    }
    poster.worker = host.worker = &worker;
}

}  // namespace
}  // namespace rizo
