// SPDX-License-Identifier: MIT
// The hashing batch: worker thread, stop and end of batch.
#include "engine/batch_worker.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace rizo {

BatchWorker::BatchWorker(EngineMaker engineMaker, MessagePoster& messagePoster,
                         BatchHost& batchHost)
    : makeEngine(std::move(engineMaker)),
      engine(makeEngine()),
      poster(messagePoster),
      host(batchHost) {}

BatchWorker::~BatchWorker() {
    if (run != nullptr) {
        run->RequestStop();
    }
    // The window is going: a worker left behind posts nothing to it. Those still blocked in a read
    // end alone whenever it returns, holding only their runs and engines; the digest service keeps
    // the library state they may touch until the process ends.
    EndWorker(false);
    JoinLeftWorkers(std::chrono::milliseconds(0));
    for (LeftWorker& left : leftWorkers) {
        left.thread.detach();
    }
}

bool BatchWorker::JoinLeftWorkers(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::erase_if(leftWorkers, [deadline](LeftWorker& left) {
        const auto remaining = std::max(deadline - std::chrono::steady_clock::now(),
                                        std::chrono::steady_clock::duration::zero());
        if (!left.run->WaitForEnd(std::chrono::ceil<std::chrono::milliseconds>(remaining))) {
            return false;
        }
        left.thread.join();
        return true;
    });
    return leftWorkers.empty();
}

void BatchWorker::EndWorker(bool announce) {
    if (!workerThread.joinable()) {
        return;
    }
    if (run->WaitForEnd(kStopWait)) {
        workerThread.join();
        return;
    }
    // A read that does not return (a hung network file system, a device that waits for data)
    // must not hold the window. The thread keeps its own run and engine and ends when the read
    // does; the next batch gets a new engine.
    run->Abandon(announce);
    leftWorkers.push_back({std::move(workerThread), run});
    engine = makeEngine();
    aheadEngine.reset();
}

bool BatchWorker::StartWorker(const BatchOptions& batchOptions) {
    if (busy) {
        return false;
    }
    // The previous worker posted UM_HASH_BATCH_DONE as its last act, so this wait is short.
    if (workerThread.joinable()) {
        workerThread.join();
    }
    JoinLeftWorkers(std::chrono::milliseconds(0));
    options = batchOptions;
    host.SetSortable(false);
    if (!sizesStarted) {
        SumPendingSizes();
    }
    sizesStarted = false;
    // A second core hashes small files ahead; one core has nothing to spare for it.
    const bool helped =
        std::min(PendingPaths.size(), PendingRows.size()) >= BatchRun::kFilesWorthAHelper &&
        std::thread::hardware_concurrency() > 1;
    if (helped && aheadEngine == nullptr) {
        aheadEngine = makeEngine();
    }
    run = std::make_shared<BatchRun>(engine, helped ? aheadEngine : nullptr, poster,
                                     std::move(PendingPaths), std::move(PendingRows),
                                     options.hashes, options.uppercase);
    PendingPaths.clear();
    PendingRows.clear();
    // A signal caught before the run existed still stops it (see RequestStop).
    signalledRun = run.get();
    if (stopSignalled) {
        run->RequestStop();
    }
    try {
        workerThread = std::thread([batch = run] { batch->Main(); });
    } catch (const std::system_error&) {
        host.SetSortable(true);
        return false;
    }
    busy = true;
    host.RefreshCommandStates();
    host.BatchStarted();
    return true;
}

// The pass reads the pending paths where they lie, without a copy: moving them to the run leaves
// them there, and the run outlives the pass, which the next StartWorker ends before it replaces
// the run. Pending paths that change without a batch are dropped first.
void BatchWorker::SumPendingSizes() {
    if (sumSizes && !busy) {
        sizes.Start(PendingPaths);
        sizesStarted = true;
    }
}

void BatchWorker::DropPendingSizes() {
    if (sizesStarted) {
        sizes.Finish();
        sizesStarted = false;
    }
}

void BatchWorker::StopHashing() {
    // A flag set while idle would end the next batch within its first file.
    if (!busy) {
        return;
    }
    run->RequestStop();
    EndWorker(true);
}

void BatchWorker::FinishBatch() {
    busy = false;
    host.MarkDuplicates();
    if (run != nullptr) {
        run->ResetProgress();
    }
    host.ShowProgress();
    host.RefreshCommandStates();
    host.SetSortable(true);
    if (options.beep) {
        host.Beep();
    }
}

FileEntry BatchWorker::Result(int64_t index) const {
    return run != nullptr ? run->Result(index) : FileEntry{};
}

FileEntry BatchWorker::TakeResult(int64_t index) {
    return run != nullptr ? run->TakeResult(index) : FileEntry{};
}

std::vector<int32_t> BatchWorker::RowsNotReached() const {
    return run != nullptr ? run->RowsNotReached() : std::vector<int32_t>{};
}

int32_t BatchWorker::CurrentRow() const {
    return run != nullptr ? run->CurrentRow() : -1;
}

float BatchWorker::LastProgress() const {
    return run != nullptr ? run->LastProgress() : 0.0f;
}

BatchCounts BatchWorker::Counts() const {
    BatchCounts counts = run != nullptr ? run->Counts() : BatchCounts{};
    counts.totalKnown = sumSizes && sizes.Known();
    counts.bytesTotal = sizes.Bytes();
    return counts;
}

void BatchWorker::RequestStop() {
    stopSignalled = true;
    if (BatchRun* signalled = signalledRun.load()) {
        signalled->RequestStop();
    }
}

std::string BatchWorker::CurrentName() const {
    return run != nullptr ? run->CurrentName() : std::string();
}

std::string BatchWorker::CurrentFolder() const {
    return run != nullptr ? run->CurrentFolder() : std::string();
}

bool BatchWorker::StopRequested() const {
    return run != nullptr && run->StopRequested();
}

}  // namespace rizo
