// SPDX-License-Identifier: MIT
// One hashing batch on its worker thread: the queue, the results, the progress state and the gate
// through which its messages reach the window.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/file_entry.h"
#include "base/hash_selection.h"
#include "engine/batch_progress.h"
#include "engine/digest_engine.h"
#include "engine/hash_ahead.h"
#include "engine/message_poster.h"

namespace rizo {

// Shared by the window's BatchWorker and the worker thread, so that a thread left blocked in a read
// can end on its own after the window has moved on or is gone: once the run is abandoned, the
// thread appends no result and posts nothing, and what it touches is its own.
class BatchRun {
public:
    // A batch of a few files gains nothing from a second thread.
    static constexpr std::size_t kFilesWorthAHelper = 8;

    // `helperEngine`, when given, hashes small files ahead on a second thread.
    BatchRun(std::shared_ptr<DigestEngine> digestEngine, std::shared_ptr<DigestEngine> helperEngine,
             MessagePoster& messagePoster, std::vector<std::string> queuedPaths,
             std::vector<int32_t> queuedRows, HashSelection hashes, bool uppercaseDigests);

    // The thread body: hashes the queue in order, then posts UM_HASH_BATCH_DONE.
    void Main();
    void RequestStop() { stopRequested = true; }
    bool StopRequested() const { return stopRequested.load(); }
    // True once Main has ended, waiting for it at most `limit`.
    bool WaitForEnd(std::chrono::milliseconds limit);
    // Closes the gate. With `announce` the file being read gets a "not finished" result and the
    // batch its end, posted in the order the thread would have used.
    void Abandon(bool announce);

    // A copy of the result at `index`, an empty entry when there is none.
    FileEntry Result(int64_t index) const;
    // The result at `index` itself, for a reader that takes each result once, in order: a result
    // taken is gone, and Result and TakeResult give an empty entry for it.
    FileEntry TakeResult(int64_t index);
    // The queued rows that got no result: those after the last file handled when the batch was
    // stopped.
    std::vector<int32_t> RowsNotReached() const;
    int32_t CurrentRow() const { return currentRow.load(); }
    float LastProgress() const { return lastProgress.load(); }
    std::string CurrentName() const;
    std::string CurrentFolder() const;
    void ResetProgress();
    // Files done of all and bytes read so far; no byte total.
    BatchCounts Counts() const;

private:
    void Post(int message, int64_t wParam, int64_t lParam);
    bool BeginFile(std::size_t index);
    bool FinishFile(FileEntry entry);
    // Under gateLock.
    void AppendAndPost(int32_t row, FileEntry entry);
    // Under resultsLock: results appended so far, taken or not, and where the one at `index` is
    // kept (none once taken or before it comes).
    std::size_t ResultCount() const;
    std::optional<std::size_t> KeptAt(int64_t index) const;
    // Reports each progress step that the read of a file reaches.
    using StepReport = std::function<void(float progress)>;

    void HashOneFile(const std::string& path, FileEntry& entry);
    bool HashAheadOne(DigestEngine& helper, std::size_t index, HashAhead::Result& result);
    void ShowHashedAhead(HashAhead::Result& result);
    void StartEntry(const std::string& path, FileEntry& entry);
    bool OpenFile(DigestEngine& reader, const std::string& path, FileEntry& entry);
    void ReadToEnd(DigestEngine& reader, FileEntry& entry, const StepReport& report);
    void SetCurrent(std::string name, std::string folder);

    const std::shared_ptr<DigestEngine> engine;
    const std::shared_ptr<DigestEngine> aheadEngine;
    MessagePoster& poster;
    const std::vector<std::string> paths;
    const std::vector<int32_t> rows;
    const HashSelection selection;
    const bool uppercase;
    // What the engines had read before this run.
    const uint64_t bytesAtStart;
    const uint64_t aheadBytesAtStart;
    std::atomic<bool> stopRequested = false;

    // Held for every post and append, so that none slips past an Abandon.
    std::mutex gateLock;
    bool abandoned = false;
    // The queue entry being hashed, valid while inFile.
    std::size_t fileIndex = 0;
    bool inFile = false;

    mutable std::mutex resultsLock;
    // The results not yet taken, from index resultsTaken on. A result taken in order is freed at
    // once: a batch of 100,000 files kept them all, tens of megabytes touched once each.
    std::deque<FileEntry> results;
    std::size_t resultsTaken = 0;

    std::atomic<int32_t> currentRow = -1;
    std::atomic<float> lastProgress = 0;
    mutable std::mutex currentLock;
    std::string currentName;
    std::string currentFolder;

    std::mutex endLock;
    std::condition_variable endSignal;
    bool ended = false;
};

}  // namespace rizo
