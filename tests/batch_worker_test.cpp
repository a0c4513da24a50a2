// The hashing batch worker on real files: message sequences, results, stop, end of batch, threads.
#include "engine/batch_worker.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <optional>
#include <thread>

#include "tests/temp_folder.h"

namespace rizo {
namespace {

constexpr uint64_t k25MiB = 26214400;

// One posted message with the progress state as the worker left it at that moment.
struct Posted {
    int message = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;
    float progress = 0;
    std::string name;
    std::string folder;
    FileEntry entry;  // Result(lParam) read when UM_HASH_FILE_DONE was posted
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
                      {}};
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

    std::vector<Posted> WaitForBatchEnd() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] {
            return !messages.empty() && messages.back().message == UM_HASH_BATCH_DONE;
        });
        return std::exchange(messages, {});
    }

    // Copies of what has been posted so far.
    std::vector<Posted> Snapshot() const {
        std::lock_guard lock(mutex);
        return messages;
    }

    BatchWorker* worker = nullptr;
    std::function<void(const Posted&)> onPost;  // runs on the worker thread

private:
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Posted> messages;
};

class RecordingHost : public BatchHost {
public:
    void SetSortable(bool on) override { calls.push_back(on ? "sortable on" : "sortable off"); }
    void RefreshCommandStates() override {
        calls.push_back(std::string("commands, busy ") + (worker->Busy() ? "yes" : "no"));
    }
    void MarkDuplicates() override {
        calls.push_back(std::string("mark, busy ") + (worker->Busy() ? "yes" : "no"));
    }
    void ShowProgress() override {
        calls.push_back("progress " + std::to_string(worker->CurrentRow()) + " " +
                        std::to_string(worker->LastProgress()) + " '" + worker->CurrentName() +
                        "' '" + worker->CurrentFolder() + "'");
    }
    void Beep() override { calls.push_back("beep"); }

    BatchWorker* worker = nullptr;
    std::vector<std::string> calls;
};

class BatchWorkerTest : public ::testing::Test {
protected:
    BatchWorkerTest() {
        engine.AcquireProvider(false, false);
        settings.HashMD5 = settings.HashSHA1 = settings.HashCRC32 = settings.HashSHA256 = true;
        poster.worker = &worker;
        host.worker = &worker;
    }

    std::string File(const std::string& name, const std::string& bytes) const {
        test::WriteText(folder.Path() + name, bytes);
        return folder.Path() + name;
    }

    // Holes read as zeros, so a large file costs no disk space.
    std::string Sparse(const std::string& name, uint64_t size) const {
        std::string path = folder.Path() + name;
        int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
        ::close(fd);
        return path;
    }

    // Queues the paths for rows 0, 1, 2, ... unless rows are given, and runs the batch to its end.
    std::vector<Posted> Run(const std::vector<std::string>& paths, std::vector<int32_t> rows = {}) {
        Queue(paths, std::move(rows));
        EXPECT_TRUE(worker.StartWorker());
        std::vector<Posted> posted = poster.WaitForBatchEnd();
        worker.FinishBatch();
        return posted;
    }

    void Queue(const std::vector<std::string>& paths, std::vector<int32_t> rows = {}) {
        for (int32_t row = 0; rows.size() < paths.size(); ++row) {
            rows.push_back(row);
        }
        worker.PendingPaths = paths;
        worker.PendingRows = rows;
    }

    // From the first progress message of `row` on, the worker waits until a stop is requested,
    // which the test thread does once WaitForStopPoint returns.
    void StopAtFirstProgressOf(int32_t row) {
        poster.onPost = [this, row](const Posted& posted) {
            if (posted.message != UM_HASH_PROGRESS || worker.CurrentRow() != row) {
                return;
            }
            {
                std::lock_guard lock(stopMutex);
                atStopPoint = true;
            }
            stopPointReached.notify_all();
            while (!worker.StopRequested()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        };
    }

    void WaitForStopPoint() {
        std::unique_lock lock(stopMutex);
        stopPointReached.wait(lock, [this] { return atStopPoint; });
    }

    test::TempFolder folder;
    DigestEngine engine;
    ProgramSettings settings;
    RecordingPoster poster;
    RecordingHost host;
    BatchWorker worker{engine, settings, poster, host};

    std::mutex stopMutex;
    std::condition_variable stopPointReached;
    bool atStopPoint = false;
};

std::vector<int> Kinds(const std::vector<Posted>& posted) {
    std::vector<int> kinds;
    for (const Posted& message : posted) {
        kinds.push_back(message.message);
    }
    return kinds;
}

std::vector<float> Progresses(const std::vector<Posted>& posted) {
    std::vector<float> values;
    for (const Posted& message : posted) {
        if (message.message == UM_HASH_PROGRESS) {
            values.push_back(message.progress);
        }
    }
    return values;
}

bool HasNoDigest(const FileEntry& entry) {
    return entry.md5.empty() && entry.sha1.empty() && entry.crc32.empty() && entry.sha256.empty();
}

TEST_F(BatchWorkerTest, EachKindOfFilePostsItsProgressThenItsResult) {
    struct Case {
        std::string label;
        std::optional<uint64_t> size;  // none: the file does not exist
        std::vector<float> progress;
    };
    const std::vector<Case> cases = {
        {"empty", 0, {0}},
        {"one block", 3, {100, 0, 0}},
        {"25 MiB", k25MiB, {40, 80, 100, 0, 0}},
        {"missing", std::nullopt, {}},
    };
    for (const Case& c : cases) {
        std::string path = c.size ? Sparse(c.label, *c.size) : folder.Path() + c.label;
        std::vector<Posted> posted = Run({path});
        ASSERT_GE(posted.size(), 2u) << c.label;
        std::vector<int> expected(c.progress.size(), UM_HASH_PROGRESS);
        expected.insert(expected.end(), {UM_HASH_FILE_DONE, UM_HASH_BATCH_DONE});
        EXPECT_EQ(Kinds(posted), expected) << c.label;
        EXPECT_EQ(Progresses(posted), c.progress) << c.label;
        const FileEntry& entry = posted[posted.size() - 2].entry;
        EXPECT_EQ(entry.size, c.size.value_or(0)) << c.label;
        EXPECT_EQ(entry.path, path) << c.label;
        EXPECT_EQ(entry.name, c.label) << c.label;
        EXPECT_EQ(entry.modified.empty(), !c.size) << c.label;
        EXPECT_EQ(HasNoDigest(entry), !c.size) << c.label;
        EXPECT_EQ(entry.outcome, c.size ? FileOutcome::kRead : FileOutcome::kNotOpened) << c.label;
    }
}

TEST_F(BatchWorkerTest, EmptyBatchPostsOnlyTheBatchEnd) {
    EXPECT_EQ(Kinds(Run({})), std::vector<int>{UM_HASH_BATCH_DONE});
}

TEST_F(BatchWorkerTest, DigestsFollowTheSelectionAndCaseTakenAtStart) {
    struct Case {
        std::string bytes;
        bool md5, sha1, crc32, sha256, uppercase;
        std::string md5Text, sha1Text, crcText, sha256Text;
    };
    const std::vector<Case> cases = {
        {"", true, true, true, true, false, "d41d8cd98f00b204e9800998ecf8427e",
         "da39a3ee5e6b4b0d3255bfef95601890afd80709", "00000000",
         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", false, true, false, false, true, "", "A9993E364706816ABA3E25717850C26C9CD0D89D", "",
         ""},
        {"abc", true, false, true, false, true, "900150983CD24FB0D6963F7D28E17F72", "", "352441C2",
         ""},
    };
    for (const Case& c : cases) {
        settings.HashMD5 = c.md5;
        settings.HashSHA1 = c.sha1;
        settings.HashCRC32 = c.crc32;
        settings.HashSHA256 = c.sha256;
        settings.ShowHashInUppercase = c.uppercase;
        const std::vector<Posted> posted = Run({File("digested", c.bytes)});
        const FileEntry& entry = posted.at(posted.size() - 2).entry;
        EXPECT_EQ(entry.md5, c.md5Text);
        EXPECT_EQ(entry.sha1, c.sha1Text);
        EXPECT_EQ(entry.crc32, c.crcText);
        EXPECT_EQ(entry.sha256, c.sha256Text);
    }
}

TEST_F(BatchWorkerTest, ResultIndexFollowsProcessingOrderAndRowFollowsTheQueue) {
    const std::vector<std::string> paths = {File("a", "1"), File("b", "2"), File("c", "3")};
    std::vector<Posted> done;
    for (const Posted& posted : Run(paths, {7, 3, 5})) {
        if (posted.message == UM_HASH_FILE_DONE) {
            done.push_back(posted);
        }
    }
    ASSERT_EQ(done.size(), 3u);
    const std::vector<int64_t> rows = {7, 3, 5};
    for (std::size_t i = 0; i < done.size(); ++i) {
        EXPECT_EQ(done[i].wParam, rows[i]);
        EXPECT_EQ(done[i].lParam, static_cast<int64_t>(i));
        EXPECT_EQ(done[i].entry.path, paths[i]);
        EXPECT_EQ(worker.Result(static_cast<int64_t>(i)).path, paths[i]);
    }
    EXPECT_TRUE(worker.PendingPaths.empty());
    EXPECT_TRUE(worker.PendingRows.empty());
}

TEST_F(BatchWorkerTest, NameAndFolderComeFromTheLastSlash) {
    struct Case {
        std::string path, name, folder;
    };
    // None of these exist; the empty path, queued for a row that never had a result, keeps the
    // name and folder shown before it.
    const std::vector<Case> cases = {
        {"/nowhere/deeper/file.txt", "file.txt", "/nowhere/deeper/"},
        {"/rootfile", "rootfile", "/"},
        {"relative-name", "relative-name", ""},
        {"", "relative-name", ""},
        {"/nowhere/dir/", "", "/nowhere/dir/"},
    };
    std::vector<std::string> paths;
    for (const Case& c : cases) {
        paths.push_back(c.path);
    }
    std::vector<Posted> posted = Run(paths);
    ASSERT_EQ(posted.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(posted[i].name, cases[i].name) << cases[i].path;
        EXPECT_EQ(posted[i].folder, cases[i].folder) << cases[i].path;
        EXPECT_EQ(posted[i].entry.path, cases[i].path);
        EXPECT_EQ(posted[i].entry.size, 0u);
    }
    EXPECT_EQ(posted[3].entry.name, "");
}

TEST_F(BatchWorkerTest, ReadErrorGivesNoDigestInsteadOfAPartialOne) {
    // The kernel lets this open as a regular file and refuses the read at offset 0.
    std::vector<Posted> posted = Run({"/proc/self/mem"});
    ASSERT_EQ(Kinds(posted).at(posted.size() - 2), UM_HASH_FILE_DONE);
    const FileEntry& entry = posted[posted.size() - 2].entry;
    EXPECT_EQ(entry.outcome, FileOutcome::kReadFailed);
    EXPECT_EQ(entry.errorNumber, EIO);
    EXPECT_TRUE(HasNoDigest(entry));
}

TEST_F(BatchWorkerTest, StopDuringTheSecondOfThreeFilesKeepsItsFactsAndSkipsTheThird) {
    const std::vector<std::string> paths = {File("one", "1"), File("two", "22"),
                                            File("three", "3")};
    StopAtFirstProgressOf(1);
    Queue(paths);
    ASSERT_TRUE(worker.StartWorker());
    WaitForStopPoint();
    worker.StopHashing();
    std::vector<Posted> posted = poster.Snapshot();
    const std::vector<int> expected = {UM_HASH_PROGRESS,  UM_HASH_PROGRESS,  UM_HASH_PROGRESS,
                                       UM_HASH_FILE_DONE, UM_HASH_PROGRESS,  UM_HASH_PROGRESS,
                                       UM_HASH_FILE_DONE, UM_HASH_BATCH_DONE};
    ASSERT_EQ(Kinds(posted), expected);
    EXPECT_EQ(posted[3].entry.outcome, FileOutcome::kRead);
    EXPECT_FALSE(HasNoDigest(posted[3].entry));
    const FileEntry& stopped = posted[6].entry;
    EXPECT_EQ(posted[6].wParam, 1);
    EXPECT_EQ(stopped.outcome, FileOutcome::kStopped);
    EXPECT_EQ(stopped.name, "two");
    EXPECT_EQ(stopped.size, 2u);
    EXPECT_FALSE(stopped.modified.empty());
    EXPECT_TRUE(HasNoDigest(stopped));
    EXPECT_EQ(worker.Result(2).path, "");
    EXPECT_TRUE(worker.Busy());
    worker.FinishBatch();
    EXPECT_FALSE(worker.Busy());
}

TEST_F(BatchWorkerTest, StopIsHonouredWithinOneBlockAndTheNextBatchRunsToItsEnd) {
    const std::string large = Sparse("large", k25MiB);
    StopAtFirstProgressOf(0);
    Queue({large});
    ASSERT_TRUE(worker.StartWorker());
    WaitForStopPoint();
    worker.StopHashing();
    // The block that reached 40% is the last one read; the final report repeats it.
    std::vector<Posted> stopped = poster.WaitForBatchEnd();
    EXPECT_EQ(Progresses(stopped), (std::vector<float>{40, 40}));
    EXPECT_EQ(stopped.at(2).entry.size, k25MiB);
    EXPECT_TRUE(HasNoDigest(stopped.at(2).entry));

    poster.onPost = nullptr;
    Queue({large});
    EXPECT_FALSE(worker.StartWorker()) << "a new batch waits for the end of the last one";
    worker.FinishBatch();
    worker.StopHashing();  // idle: must not stop the next batch
    std::vector<Posted> full = Run({large, large});
    ASSERT_EQ(Kinds(full).size(), 13u);
    EXPECT_EQ(full[5].entry.outcome, FileOutcome::kRead);
    EXPECT_EQ(full[11].entry.outcome, FileOutcome::kRead);
    EXPECT_EQ(full[11].entry.md5, full[5].entry.md5);
    EXPECT_FALSE(full[11].entry.md5.empty());
}

TEST_F(BatchWorkerTest, StartAndFinishDriveTheWindowInOrder) {
    for (bool beep : {true, false}) {
        host.calls.clear();
        settings.ShowBeepMessage = beep;
        Run({File("x", "x")});
        std::vector<std::string> expected = {"sortable off",      "commands, busy yes",
                                             "mark, busy no",     "progress -1 0.000000 '' ''",
                                             "commands, busy no", "sortable on"};
        if (beep) {
            expected.push_back("beep");
        }
        EXPECT_EQ(host.calls, expected) << beep;
    }
}

TEST_F(BatchWorkerTest, ResultsAndProgressCanBeReadWhileTheWorkerAppends) {
    std::vector<std::string> paths;
    for (int i = 0; i < 200; ++i) {
        paths.push_back(
            File("f" + std::to_string(i), std::string(static_cast<std::size_t>(i), 'z')));
    }
    Queue(paths);
    ASSERT_TRUE(worker.StartWorker());
    std::size_t checked = 0;
    for (bool done = false; !done;) {
        std::vector<Posted> posted = poster.Snapshot();
        done = !posted.empty() && posted.back().message == UM_HASH_BATCH_DONE;
        checked = 0;
        for (const Posted& message : posted) {
            if (message.message == UM_HASH_FILE_DONE) {
                EXPECT_EQ(worker.Result(message.lParam).path, paths[message.lParam]);
                ++checked;
            }
        }
        EXPECT_LE(worker.CurrentName().size(), 4u);
        EXPECT_LE(worker.LastProgress(), 100.0f);
        EXPECT_LT(worker.CurrentRow(), 200);
    }
    EXPECT_EQ(checked, paths.size());
    worker.FinishBatch();
}

}  // namespace
}  // namespace rizo
