// SPDX-License-Identifier: MIT
// How the window runs a hashing batch and shows it: the paths collected on a scan's thread and
// their rows, the worker's messages taken into rows, panes and highlighted row, the whole batch's
// progress in the title and on the taskbar entry, and the batch's end.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/batch_host.h"
#include "engine/batch_progress.h"
#include "engine/batch_worker.h"
#include "engine/message_queue.h"
#include "filelist/background_scan.h"
#include "ui/launcher_entry.h"

class QTimer;
class QWidget;

namespace rizo {

class BatchOutcome;
class PendingCommit;
class SortListView;
class StatusPanes;
class Verification;
struct ProgramSettings;

// Owns the worker, which it is the batch host of and which posts to its message queue. The window's
// title is the program's name, led by the progress of a scan or batch while one runs and by the
// last batch's failures after it.
class BatchView : public QObject, public BatchHost {
    Q_OBJECT

public:
    // The parts of the window a batch shows in.
    struct Window {
        QWidget& frame;
        SortListView& list;
        StatusPanes& panes;
        const ProgramSettings& settings;
        std::function<void()> refreshCommands;
    };

    // Paths collected on a thread of their own (a folder may hold many thousands of files), whose
    // rows are then made a slice at a time and hashed in a batch.
    struct Collection {
        BackgroundScan::Collect collect;
        // Sees the paths in their final order, on the scan's thread.
        std::function<void(const std::vector<std::string>&)> collected = {};
        // What the title says while the scan runs when not the files found so far.
        std::function<std::optional<std::string>()> progress = {};
        // Takes the place of the batch: runs once the scan's thread has ended, with the folders
        // that could not be listed once the rows are made, or with none after a cancel. No sizes
        // are summed ahead for a batch that may not follow.
        std::function<void(std::optional<int> foldersNotRead)> ended = {};
    };

    // What a judged batch's end hands to the one that started it.
    using Judged = std::function<void(BatchOutcome& outcome)>;

    BatchView(Window window, BatchWorker::EngineMaker makeEngine);
    ~BatchView() override;

    BatchWorker& Worker() { return *worker; }
    // Hashing, or collecting the files to hash.
    bool Busy() const { return worker->Busy() || scan != nullptr; }

    // Collects paths as `collection` says, adds their rows and hashes them, unless the scan is
    // cancelled: then nothing is added.
    void Collect(Collection collection);
    // Makes rows of `paths` and hashes them.
    void Add(std::vector<std::string> paths);
    // Starts the worker over its pending arrays; the last batch's failure note goes.
    // `foldersNotRead` folders could not be listed while the paths were collected. With `judge`,
    // the results are judged by that verification and `judged` runs at the batch's end, before
    // the title counts the failures. False when no worker could start.
    bool Start(int foldersNotRead, Verification* judge = nullptr, Judged judged = {});
    // The Stop command: cancels a scan and stops the worker.
    void Stop();
    // Cancels a scan; a running batch goes on.
    void CancelScan();
    // Once the window's close is accepted: worker messages still queued reach no handler.
    void Close() { closing = true; }

protected:
    bool event(QEvent* event) override;

private:
    void SetSortable(bool on) override;
    void RefreshCommandStates() override;
    void MarkDuplicates() override;
    void ShowProgress() override;
    void Beep() override;
    void BatchStarted() override;

    // Hands the scan's paths to their rows.
    void ScanEnded();
    // Makes rows for the scan's paths until a slice of time is up, then lets the event loop turn;
    // once all have rows, starts the batch. A cancel meanwhile takes the rows made away again.
    void CommitSlice();
    void CommitEnded();
    // The worker's messages queued since the last call, in order.
    void HandleWorkerMessages();
    void HandleWorkerMessage(int message, int64_t wParam, int64_t lParam);
    // Writes result `resultIndex` of the batch into the cells of `row`.
    void ShowResult(int32_t row, int64_t resultIndex);
    void EndBatch();
    // The files found so far while a scan runs; the whole batch while a batch runs.
    void ShowBatchProgress();
    std::string ScanProgressText() const;
    void EndBatchProgress();
    // The title counts the files of the batch that failed, are missing or could not be read, and
    // the folders that could not be listed, until the next batch.
    void ShowFailureNote();
    void UpdateFileCount();

    Window window;
    // The notes and counts of the current or last batch.
    std::unique_ptr<BatchOutcome> outcome;
    // Set once a close is accepted.
    bool closing = false;
    LauncherEntry launcherEntry;
    BatchProgress batchProgress;
    QTimer* batchProgressTimer = nullptr;
    std::unique_ptr<BackgroundScan> scan;
    Collection collection;
    // Making the rows of a scan that has ended; the scan stays until they are made.
    std::unique_ptr<PendingCommit> commit;
    // The verification judging the running batch, and what its end hands the outcome to.
    Verification* judge = nullptr;
    Judged judged;

    // Posted by the worker's threads, handled on this one; its wake posts an event to this.
    MessageQueue workerMessages;
    // Lets the worker's messages gather for a moment after each handling.
    QTimer* workerMessagesTimer = nullptr;
    // Declared last: its thread posts into the queue above, so it ends first.
    std::unique_ptr<BatchWorker> worker;
};

}  // namespace rizo
