// SPDX-License-Identifier: MIT
// The pipeline takes its files from the source as it goes, never far ahead of its results.
#include "engine/batch_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "engine/read_ahead.h"
#include "tests/deadline.h"
#include "tests/temp_folder.h"

namespace rizo {
namespace {

// Records, for each result, how many paths the source had given by then.
class CountingSink : public BatchSink {
public:
    explicit CountingSink(const std::atomic<std::size_t>& sourceGiven) : given(sourceGiven) {}

    void Begin(std::size_t, const std::string&) override {}
    void Progress(float) override {}
    void Done(std::size_t index, FileEntry entry) override {
        mostAhead = std::max(mostAhead, given.load() - index);
        inOrder = inOrder && index == results;
        read = read && entry.outcome == FileOutcome::kRead;
        ++results;
    }
    void End() override {
        std::lock_guard guard(lock);
        ended = true;
        endSignal.notify_all();
    }
    bool WaitForEnd() {
        std::unique_lock guard(lock);
        return endSignal.wait_for(guard, test::kDeadline, [this] { return ended; });
    }

    const std::atomic<std::size_t>& given;
    std::size_t mostAhead = 0;
    std::size_t results = 0;
    bool inOrder = true;
    bool read = true;

private:
    std::mutex lock;
    std::condition_variable endSignal;
    bool ended = false;
};

TEST(BatchPipeline, TakesTheSourceAsItGoesAndDeliversEveryFileInOrder) {
    test::TempFolder folder;
    const std::string file = folder.File("one", "1");
    constexpr std::size_t kFiles = 20000;
    std::atomic<std::size_t> given = 0;
    std::vector<std::shared_ptr<DigestEngine>> engines;
    for (int i = 0; i < 2; ++i) {
        engines.push_back(std::make_shared<DigestEngine>());
        ASSERT_TRUE(engines.back()->AcquireProvider(false, false));
    }
    auto sink = std::make_unique<CountingSink>(given);
    CountingSink& counted = *sink;
    const auto pipeline = std::make_shared<BatchPipeline>(
        engines,
        [&](std::string& path) {
            if (given == kFiles) {
                return false;
            }
            path = file;
            ++given;
            return true;
        },
        BatchOptions{}, std::move(sink));
    ASSERT_TRUE(pipeline->Start());
    ASSERT_TRUE(counted.WaitForEnd()) << "the batch did not end";
    ASSERT_TRUE(pipeline->Join(test::kDeadline));
    EXPECT_EQ(counted.results, kFiles);
    EXPECT_TRUE(counted.inOrder);
    EXPECT_TRUE(counted.read);
    // The results waiting, and the files the readers ahead may look at past them.
    EXPECT_LE(counted.mostAhead, BatchPipeline::kWindow + ReadAhead::kFilesAhead + 1);
}

}  // namespace
}  // namespace rizo
