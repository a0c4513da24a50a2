// The hashing batch: a background thread that hashes the queued files one after another and
// reports to the window only through posted messages.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/batch_host.h"
#include "engine/digest_engine.h"
#include "engine/file_entry.h"
#include "engine/hash_selection.h"
#include "engine/message_poster.h"
#include "settings/program_settings.h"

namespace rizo {

// Owned by the window, whose thread calls every public function except the state readers, which
// are safe from any thread. While a batch runs the worker owns the engine and the pending arrays.
class BatchWorker {
public:
    BatchWorker(DigestEngine& digestEngine, const ProgramSettings& programSettings,
                MessagePoster& messagePoster, BatchHost& batchHost);
    // Stops and waits for a running worker.
    ~BatchWorker();
    BatchWorker(const BatchWorker&) = delete;
    BatchWorker& operator=(const BatchWorker&) = delete;

    // The batch: PendingRows[i] is the row that receives the result for PendingPaths[i]. Filled
    // only while not busy; the worker empties both when it ends.
    std::vector<std::string> PendingPaths;
    std::vector<int32_t> PendingRows;

    // Empties the results and starts a worker over the pending arrays. Refused while busy; false
    // as well when no thread can be created, with header sorting switched back on.
    bool StartWorker();
    // The Stop command, and the wait after a confirmed close: asks the worker to end and waits
    // until it has, at most one block of reading later. Its last messages are still delivered.
    void StopHashing();
    // The window's handler of UM_HASH_BATCH_DONE: back to idle, then marking, panes, commands,
    // sorting and the beep, in that order.
    void FinishBatch();
    bool Busy() const { return busy; }

    // A copy of the result at `index`, an empty entry when there is none.
    FileEntry Result(int64_t index) const;
    int32_t CurrentRow() const { return currentRow.load(); }
    float LastProgress() const { return lastProgress.load(); }
    std::string CurrentName() const;
    // Ends with "/" (empty when none).
    std::string CurrentFolder() const;
    bool StopRequested() const { return stopRequested.load(); }

private:
    void JoinWorker();
    void WorkerMain();
    void HashOneFile(const std::string& path, FileEntry& entry);
    void ReadToEnd(FileEntry& entry);
    void SetCurrent(std::string name, std::string folder);
    void ResetProgress();

    DigestEngine& engine;
    const ProgramSettings& settings;
    MessagePoster& poster;
    BatchHost& host;

    // Taken from the settings when a batch starts; their commands are disabled while it runs.
    HashSelection selection;
    bool uppercase = false;

    mutable std::mutex resultsLock;
    std::vector<FileEntry> Results;

    bool busy = false;
    std::atomic<bool> stopRequested = false;
    std::thread workerThread;
    std::atomic<int32_t> currentRow = -1;
    std::atomic<float> lastProgress = 0;
    mutable std::mutex currentLock;
    std::string currentName;
    std::string currentFolder;
};

}  // namespace rizo
