// SPDX-License-Identifier: MIT
// A hashing batch as one pipeline: a source of paths, a pool of workers that each open, read and
// hash whole files, and a sink that receives every file's progress and result in queue order.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/file_entry.h"
#include "engine/batch_options.h"
#include "engine/digest_engine.h"
#include "engine/storage_rule.h"

namespace rizo {

class ReadAhead;

// Receives a batch in queue order, one call at a time, from whichever worker thread is delivering:
// it must not wait for a thread that may itself wait for the batch to end.
class BatchSink {
public:
    virtual ~BatchSink() = default;
    // File `index` is next: it is being read, or waits for a worker, or has been read already.
    virtual void Begin(std::size_t index, const std::string& path) = 0;
    // A progress step of the file begun last: the percentage read, reported at each new tenth of a
    // point, then once more at its end.
    virtual void Progress(float percent) = 0;
    virtual void Done(std::size_t index, FileEntry entry) = 0;
    // The batch's last call: every file got its result, or a stop ended the batch early.
    virtual void End() = 0;
};

// Files are hashed by several workers at once, each with its own engine, and handed to the sink in
// queue order through a bounded window of results: a million files need no more than kWindow
// results in memory. A file that is not the next to deliver has its progress steps kept and
// replayed when its turn comes, so the sink sees what one thread reading the files one after
// another would have shown. With one engine the files are read one at a time, and on storage
// where reads of several files at once turn into seeks or queue on one connection (StorageRule)
// only one worker reads a file larger than the readers ahead take, while the others wait.
//
// Shared by the owner and the workers, so that a worker left blocked in a read can end on its own
// after the owner has moved on: once abandoned, no worker calls the sink again.
class BatchPipeline : public std::enable_shared_from_this<BatchPipeline> {
public:
    // Gives the batch's next path, false after the last: a list, or a folder walked as the batch
    // goes, so that a million files are never held at once. Called under the pipeline's lock,
    // by one thread at a time, no further ahead of the results than the readers ahead look.
    using Source = std::function<bool(std::string& path)>;
    static Source SourceOf(std::vector<std::string> paths);

    // Files in flight ahead of the next to deliver, results waiting included.
    static constexpr std::size_t kWindow = 512;
    // How long a stop waits for the workers before leaving them to end alone (see StopWithin).
    static constexpr std::chrono::milliseconds kStopWait{500};
    // A batch of a few files gains nothing from reading ahead of the workers.
    static constexpr std::size_t kFilesWorthReadingAhead = 8;

    BatchPipeline(std::vector<std::shared_ptr<DigestEngine>> workerEngines, Source pathSource,
                  BatchOptions batchOptions, std::unique_ptr<BatchSink> batchSink);
    ~BatchPipeline();
    BatchPipeline(const BatchPipeline&) = delete;
    BatchPipeline& operator=(const BatchPipeline&) = delete;

    // Starts the workers; false when not even one thread can be had, with nothing sent to the sink.
    bool Start();
    void RequestStop() { stopRequested = true; }
    bool StopRequested() const { return stopRequested.load(); }
    // True once the sink's End has been called or the pipeline abandoned, waiting at most `limit`.
    bool WaitForEnd(std::chrono::milliseconds limit);
    // Gives up on workers that do not end: no worker calls the sink any more. With `announce` the
    // file being delivered gets a "not finished" result and the sink its End first.
    void Abandon(bool announce);
    // Stop as the window's command and a stop signal give it: asks the workers to end and waits
    // at most `limit` for them, after which they are abandoned (see Abandon). True when they ended.
    bool StopWithin(std::chrono::milliseconds limit, bool announce);
    // Waits at most `limit` for every worker to end and joins them; true when all have.
    bool Join(std::chrono::milliseconds limit);
    // Leaves the workers that have not ended to end alone; they keep the pipeline alive.
    void Detach();

    BatchSink& Sink() { return *sink; }
    // Bytes the workers have read in this batch; safe from any thread.
    uint64_t BytesRead() const;

private:
    enum class SlotState { kFree, kReading, kDone };
    struct Slot {
        SlotState state = SlotState::kFree;
        FileEntry entry;
        // Progress steps not yet delivered.
        std::vector<float> steps;
        // A stop came while its steps were shown: no more are, and it gets no digests.
        bool cutShort = false;
    };
    using Guard = std::unique_lock<std::mutex>;

    void Work(std::size_t worker);
    // Under lock: claims the next file when one is left and fits in the window.
    bool Claim(Guard& guard, std::size_t& index, std::string& path);
    // Under lock: the path of file `index`, taken from the source as far as needed; null past the
    // last file, and for files delivered already.
    const std::string* PathAt(std::size_t index);
    void HashFile(DigestEngine& reader, std::size_t index, const std::string& path,
                  FileEntry& entry);
    // Waits until every earlier file is done and no other is read alone, or a stop; false when
    // the file need not be read alone.
    bool TakeTurnAlone(const DigestEngine& reader, std::size_t index);
    void EndTurnAlone();
    bool OpenFile(DigestEngine& reader, std::size_t index, const std::string& path,
                  FileEntry& entry);
    void ReadToEnd(DigestEngine& reader, std::size_t index, FileEntry& entry);
    void Step(std::size_t index, float percent);
    // Under lock: hands the sink what is next in order.
    void Deliver();
    void BeginNext();
    Slot& SlotOf(std::size_t index) { return ring[index % kWindow]; }

    const std::vector<std::shared_ptr<DigestEngine>> engines;
    Source source;
    const BatchOptions options;
    const std::unique_ptr<BatchSink> sink;
    std::vector<uint64_t> bytesAtStart;
    std::atomic<bool> stopRequested = false;
    std::unique_ptr<ReadAhead> readAhead;
    StorageRule storage;

    std::mutex lock;
    std::condition_variable roomMade;
    std::vector<Slot> ring;
    // The paths taken from the source and not yet delivered, from index firstQueued on.
    std::deque<std::string> queued;
    std::size_t firstQueued = 0;
    bool sourceEnded = false;
    // The next file to claim and the next to deliver. The next to deliver has had the sink's Begin
    // once it is claimed: it is begun by whoever claims it or delivers the file before it.
    std::size_t nextClaim = 0;
    std::size_t nextDeliver = 0;
    // No more results go to the sink: the batch ended, was stopped or abandoned.
    bool closed = false;
    bool abandoned = false;
    std::size_t working = 0;
    // The file each worker is on, kIdle when none; a file read alone and whether one is.
    static constexpr std::size_t kIdle = static_cast<std::size_t>(-1);
    std::vector<std::size_t> onFile;
    bool readingAlone = false;
    std::condition_variable fileEnded;
    bool ended = false;
    std::condition_variable endSignal;
    std::vector<std::thread> threads;
};

}  // namespace rizo
