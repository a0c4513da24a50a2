// SPDX-License-Identifier: MIT
// The window's hashing batch: a pipeline of worker threads that hash the queued files and report to
// the window only through posted messages, in queue order.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_entry.h"
#include "engine/batch_host.h"
#include "engine/batch_options.h"
#include "engine/batch_pipeline.h"
#include "engine/batch_progress.h"
#include "engine/digest_engine.h"
#include "engine/engine_set.h"
#include "engine/message_poster.h"
#include "engine/message_sink.h"
#include "engine/size_pass.h"

namespace rizo {

// Owned by the window, whose thread calls every public function except the state readers, which
// are safe from any thread. While a batch runs its pipeline owns the engines and the queue.
class BatchWorker {
public:
    // Makes a digest engine with its service acquired: one for each worker thread a batch has,
    // kept for the next batch unless a worker was left blocked in a read with it.
    using EngineMaker = EngineSet::Maker;

    // How long Stop and a confirmed close wait for the worker before leaving it to end alone.
    static constexpr std::chrono::milliseconds kStopWait = BatchPipeline::kStopWait;

    BatchWorker(EngineMaker engineMaker, MessagePoster& messagePoster, BatchHost& batchHost);
    // Stops a running worker, waiting for it at most kStopWait; a worker still reading then ends
    // on its own and posts nothing more, as do those a Stop left before.
    ~BatchWorker();
    BatchWorker(const BatchWorker&) = delete;
    BatchWorker& operator=(const BatchWorker&) = delete;

    // The batch: PendingRows[i] is the row that receives the result for PendingPaths[i]. Filled
    // only while not busy; StartWorker hands both to the worker and leaves them empty.
    std::vector<std::string> PendingPaths;
    std::vector<int32_t> PendingRows;

    // Empties the results and starts a worker over the pending arrays with `options`. Refused while
    // busy; false as well when no thread can be created, with header sorting switched back on.
    bool StartWorker(const BatchOptions& options);
    // The Stop command, and the wait after a confirmed close: asks the worker to end and waits
    // until it has, which is at most one piece of reading later unless a read does not return.
    // After kStopWait the worker is left to end alone: its file gets a "not finished" result and
    // the batch its end, posted here. The worker's last messages are delivered either way.
    void StopHashing();
    // Asks the worker to end without waiting for it: safe in a signal handler while no other
    // thread starts a batch. Set while idle, it ends the next batch at its first file.
    void RequestStop();
    // The window's handler of UM_HASH_BATCH_DONE: back to idle, then marking, panes, commands,
    // sorting and the beep, in that order.
    void FinishBatch();
    bool Busy() const { return busy; }
    // Waits at most `limit` for the workers that a Stop left blocked in a read and joins those that
    // end; true when none is left. Nothing in the window waits for them: tests do, to see them end.
    bool JoinLeftWorkers(std::chrono::milliseconds limit);

    // A copy of the result at `index`, an empty entry when there is none.
    FileEntry Result(int64_t index) const;
    // See MessageSink::TakeResult.
    FileEntry TakeResult(int64_t index);
    // The rows of the current or last batch that a stop kept it from reaching.
    std::vector<int32_t> RowsNotReached() const;
    int32_t CurrentRow() const;
    float LastProgress() const;
    std::string CurrentName() const;
    // Ends with "/" (empty when none).
    std::string CurrentFolder() const;
    bool StopRequested() const;
    // The whole batch so far; the byte total is summed ahead while the files are hashed.
    BatchCounts Counts() const;
    // Whether batches sum their sizes ahead (on by default): without it Counts() has no byte
    // total, and no path is examined for one nobody reads.
    void SumSizesAhead(bool on) { sumSizes = on; }
    // Starts summing the pending paths' sizes before their batch starts, so that the total comes
    // sooner: the window does so once a scan's paths are final, while it makes their rows. The next
    // StartWorker then sums none again. Until then the pending paths must not change; when no
    // batch follows, DropPendingSizes ends the pass first.
    void SumPendingSizes();
    void DropPendingSizes();

private:
    // Waits at most kStopWait for a stopping batch; leaves its workers when they do not end by
    // then.
    void EndWorker(bool announce);

    EngineSet engines;
    MessagePoster& poster;
    BatchHost& host;

    bool busy = false;
    // Batches whose workers a Stop left blocked in a read.
    std::vector<std::shared_ptr<BatchPipeline>> leftBatches;
    // The current or last batch and its sink; replaced only while no worker runs.
    std::shared_ptr<BatchPipeline> pipeline;
    MessageSink* sink = nullptr;
    // Those of the current or last batch.
    BatchOptions options;

    bool sumSizes = true;
    // Set by SumPendingSizes until the next StartWorker or DropPendingSizes.
    bool sizesStarted = false;
    SizePass sizes;
    // The batch a stop signal reaches, and whether one came; see RequestStop.
    std::atomic<BatchPipeline*> signalledBatch = nullptr;
    std::atomic<bool> stopSignalled = false;
};

}  // namespace rizo
