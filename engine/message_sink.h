// SPDX-License-Identifier: MIT
// The end of a batch's pipeline that a message loop reads: results kept until taken, the state of
// the file being shown, and the worker messages 1124 to 1126 posted in order.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/file_entry.h"
#include "engine/batch_pipeline.h"
#include "engine/batch_progress.h"
#include "engine/message_poster.h"

namespace rizo {

// The state readers are safe from any thread; the rest is called by the pipeline.
class MessageSink : public BatchSink {
public:
    // rows[i] is the row that receives the result of the batch's file i; with no rows, file i's
    // row is i.
    MessageSink(MessagePoster& messagePoster, std::vector<int32_t> queuedRows);

    void Begin(std::size_t index, const std::string& path) override;
    void Progress(float percent) override;
    void Done(std::size_t index, FileEntry entry) override;
    void End() override;

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
    // Ends with "/" (empty when none).
    std::string CurrentFolder() const;
    void ResetProgress();
    // Files done of all; no bytes.
    uint64_t FilesDone() const;
    // The rows' count.
    std::size_t FileCount() const { return rows.size(); }

private:
    // Under resultsLock: results appended so far, taken or not, and where the one at `index` is
    // kept (none once taken or before it comes).
    std::size_t ResultCount() const;
    std::optional<std::size_t> KeptAt(int64_t index) const;
    void SetCurrent(std::string name, std::string folder);
    int32_t RowOf(std::size_t index) const;

    MessagePoster& poster;
    const std::vector<int32_t> rows;

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
};

}  // namespace rizo
