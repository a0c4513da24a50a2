// SPDX-License-Identifier: MIT
// The window's hashing batch: its pipeline, stop and end of batch.
#include "engine/batch_worker.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace rizo {

BatchWorker::BatchWorker(EngineMaker engineMaker, MessagePoster& messagePoster,
                         BatchHost& batchHost)
    : engines(std::move(engineMaker)), poster(messagePoster), host(batchHost) {
    // The first engine acquires the digest service now, not at the first batch.
    engines.For(1);
}

BatchWorker::~BatchWorker() {
    // The window is going: a worker left behind calls nothing of it. Those still blocked in a read
    // end alone whenever it returns, holding only their pipeline and engines; the digest service
    // keeps the library state they may touch until the process ends.
    EndWorker(false);
    JoinLeftWorkers(std::chrono::milliseconds(0));
    for (const auto& left : leftBatches) {
        left->Detach();
    }
}

bool BatchWorker::JoinLeftWorkers(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::erase_if(leftBatches, [deadline](const std::shared_ptr<BatchPipeline>& left) {
        const auto remaining = std::max(deadline - std::chrono::steady_clock::now(),
                                        std::chrono::steady_clock::duration::zero());
        return left->Join(std::chrono::ceil<std::chrono::milliseconds>(remaining));
    });
    return leftBatches.empty();
}

void BatchWorker::EndWorker(bool announce) {
    // A read that does not return (a hung network file system, a device that waits for data)
    // must not hold the window. The workers keep their own pipeline and engines and end when the
    // read does; the next batch gets new engines.
    if (pipeline == nullptr || pipeline->StopWithin(kStopWait, announce)) {
        return;
    }
    leftBatches.push_back(pipeline);
    engines.Drop();
}

bool BatchWorker::StartWorker(const BatchOptions& batchOptions) {
    if (busy) {
        return false;
    }
    // The previous batch's sink ended it as its workers' last act, so this wait is short.
    EndWorker(false);
    JoinLeftWorkers(std::chrono::milliseconds(0));
    options = batchOptions;
    host.SetSortable(false);
    if (!sizesStarted) {
        SumPendingSizes();
    }
    sizesStarted = false;
    // Equal lengths are the window's promise; a path without a row has nowhere to show its result.
    const std::size_t count = std::min(PendingPaths.size(), PendingRows.size());
    PendingPaths.resize(count);
    PendingRows.resize(count);
    auto messages = std::make_unique<MessageSink>(poster, std::move(PendingRows));
    sink = messages.get();
    pipeline = std::make_shared<BatchPipeline>(engines.For(count),
                                               BatchPipeline::SourceOf(std::move(PendingPaths)),
                                               options, std::move(messages));
    PendingPaths.clear();
    PendingRows.clear();
    // A signal caught before the batch existed still stops it (see RequestStop).
    signalledBatch = pipeline.get();
    if (stopSignalled) {
        pipeline->RequestStop();
    }
    if (!pipeline->Start()) {
        host.SetSortable(true);
        return false;
    }
    busy = true;
    host.RefreshCommandStates();
    host.BatchStarted();
    return true;
}
// The pass reads the pending paths where they lie, without a copy: moving them to the pipeline
// leaves them there, and the pipeline outlives the pass, which the next StartWorker ends before it
// replaces the pipeline. Pending paths that change without a batch are dropped first.
void BatchWorker::SumPendingSizes() {
    if (sumSizes && !busy) {
        sizes.Start(PendingPaths, engines.Helper());
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
    EndWorker(true);
}

void BatchWorker::FinishBatch() {
    busy = false;
    host.MarkDuplicates();
    if (sink != nullptr) {
        sink->ResetProgress();
    }
    host.ShowProgress();
    host.RefreshCommandStates();
    host.SetSortable(true);
    if (options.beep) {
        host.Beep();
    }
}

FileEntry BatchWorker::Result(int64_t index) const {
    return sink != nullptr ? sink->Result(index) : FileEntry{};
}

FileEntry BatchWorker::TakeResult(int64_t index) {
    return sink != nullptr ? sink->TakeResult(index) : FileEntry{};
}

std::vector<int32_t> BatchWorker::RowsNotReached() const {
    return sink != nullptr ? sink->RowsNotReached() : std::vector<int32_t>{};
}

int32_t BatchWorker::CurrentRow() const {
    return sink != nullptr ? sink->CurrentRow() : -1;
}

float BatchWorker::LastProgress() const {
    return sink != nullptr ? sink->LastProgress() : 0.0f;
}

BatchCounts BatchWorker::Counts() const {
    BatchCounts counts;
    if (pipeline != nullptr) {
        counts.filesDone = sink->FilesDone();
        counts.filesTotal = sink->FileCount();
        counts.bytesDone = pipeline->BytesRead();
    }
    counts.totalKnown = sumSizes && sizes.Known();
    counts.bytesTotal = sizes.Bytes();
    return counts;
}

void BatchWorker::RequestStop() {
    stopSignalled = true;
    if (BatchPipeline* signalled = signalledBatch.load()) {
        signalled->RequestStop();
    }
}

std::string BatchWorker::CurrentName() const {
    return sink != nullptr ? sink->CurrentName() : std::string();
}

std::string BatchWorker::CurrentFolder() const {
    return sink != nullptr ? sink->CurrentFolder() : std::string();
}

bool BatchWorker::StopRequested() const {
    return pipeline != nullptr && pipeline->StopRequested();
}

}  // namespace rizo
