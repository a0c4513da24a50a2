// SPDX-License-Identifier: MIT
// Per-file cost of hashing through the batch worker (thread, messages, results) against calling
// the engine directly, on many small files in the page cache.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "engine/batch_worker.h"

namespace rizo {
namespace {

constexpr int kFiles = 2000;
constexpr std::size_t kFileSize = 4096;

// Small files in a folder of their own, made once for the whole run and removed at its end.
class SmallFiles {
public:
    SmallFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rizo-bench-XXXXXX");
        folder = mkdtemp(pattern.data());
        const std::string bytes(kFileSize, 'x');
        for (int i = 0; i < kFiles; ++i) {
            paths.push_back(folder + "/f" + std::to_string(i));
            std::ofstream(paths.back(), std::ios::binary) << bytes;
        }
    }
    ~SmallFiles() { std::filesystem::remove_all(folder); }

    std::string folder;
    std::vector<std::string> paths;
};

const std::vector<std::string>& Files() {
    static const SmallFiles files;
    return files.paths;
}

// Counts messages and wakes the benchmark thread only at the end of a batch, so that what is
// measured is the worker's own cost, not the wake-ups of a receiving thread.
class CountingPoster : public MessagePoster {
public:
    void Post(int message, int64_t, int64_t) override {
        std::lock_guard lock(mutex);
        ++posted;
        if (message == UM_HASH_BATCH_DONE) {
            done = true;
            changed.notify_one();
        }
    }
    void WaitForBatchEnd() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return done; });
        done = false;
    }

    int64_t posted = 0;

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
};

class IdleHost : public BatchHost {
    void SetSortable(bool) override {}
    void RefreshCommandStates() override {}
    void MarkDuplicates() override {}
    void ShowProgress() override {}
    void Beep() override {}
};

void BM_EngineDirect(benchmark::State& state) {
    const std::vector<std::string>& files = Files();
    DigestEngine engine;
    engine.AcquireProvider(false, false);
    const HashSelection all{true, true, true, true};
    for (auto _ : state) {
        for (const std::string& path : files) {
            engine.Open(path, all);
            float progress = 0;
            bool atEnd = false;
            while (!atEnd) {
                engine.ReadNext(progress, atEnd);
            }
            benchmark::DoNotOptimize(engine.DigestText(kCalgSha256, false));
            engine.Close();
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_EngineDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThroughWorker(benchmark::State& state) {
    const std::vector<std::string>& files = Files();
    const BatchOptions options{HashSelection{true, true, true, true}, false, false};
    CountingPoster poster;
    IdleHost host;
    const auto makeEngine = [] {
        auto engine = std::make_unique<DigestEngine>();
        engine->AcquireProvider(false, false);
        return engine;
    };
    BatchWorker worker(makeEngine, poster, host);
    std::vector<int32_t> rows;
    for (int row = 0; row < kFiles; ++row) {
        rows.push_back(row);
    }
    for (auto _ : state) {
        worker.PendingPaths = files;
        worker.PendingRows = rows;
        worker.StartWorker(options);
        poster.WaitForBatchEnd();
        worker.FinishBatch();
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.counters["messages/file"] =
        static_cast<double>(poster.posted) / static_cast<double>(state.iterations() * kFiles);
}
BENCHMARK(BM_ThroughWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace rizo
