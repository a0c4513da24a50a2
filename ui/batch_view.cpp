// SPDX-License-Identifier: MIT
// The window's batches: collected, committed to rows, hashed by the worker and shown as they go.
#include "ui/batch_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <utility>

#include "base/value_format.h"
#include "filelist/duplicate_groups.h"
#include "filelist/pending_batch.h"
#include "settings/program_settings.h"
#include "ui/batch_outcome.h"
#include "ui/sort_list_view.h"
#include "ui/status_panes.h"
#include "verify/digest_verdict.h"
#include "verify/verification.h"

namespace rizo {
namespace {

constexpr char kTitle[] = "Rizodidiz";
// How often the title and the taskbar entry follow a running batch.
constexpr int kBatchProgressEveryMs = 250;
// How long the window works through worker messages or the rows of a batch before it lets the
// event loop turn.
constexpr qint64 kSliceMs = 20;
// How long the worker's messages gather after a handling before the next one. Waking this thread
// for every small file hashed cost more than the file, and a repaint shows them all anyway.
constexpr int kWorkerMessagesGatherMs = 20;

// The event that has the window handle the worker's queued messages.
QEvent::Type WorkerMessagesEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

}  // namespace

BatchView::BatchView(Window parts, BatchWorker::EngineMaker makeEngine)
    : window(std::move(parts)),
      outcome(std::make_unique<BatchOutcome>(window.list.Model())),
      workerMessages(
          [this] { QCoreApplication::postEvent(this, new QEvent(WorkerMessagesEventType())); }) {
    window.frame.setWindowTitle(QString::fromLatin1(kTitle));
    batchProgressTimer = new QTimer(this);
    batchProgressTimer->setInterval(kBatchProgressEveryMs);
    connect(batchProgressTimer, &QTimer::timeout, this, &BatchView::ShowBatchProgress);
    workerMessagesTimer = new QTimer(this);
    workerMessagesTimer->setSingleShot(true);
    workerMessagesTimer->setInterval(kWorkerMessagesGatherMs);
    connect(workerMessagesTimer, &QTimer::timeout, this, &BatchView::HandleWorkerMessages);
    worker = std::make_unique<BatchWorker>(std::move(makeEngine), workerMessages, *this);
}

BatchView::~BatchView() = default;

void BatchView::Collect(Collection paths) {
    ClearPending(worker->PendingPaths, worker->PendingRows);
    collection = std::move(paths);
    // Sorted on the scan's thread: sorting the paths of a large folder would hold the window.
    const bool sorted = window.settings.AutoSortFileName;
    scan = std::make_unique<BackgroundScan>(
        [collect = collection.collect, collected = collection.collected, sorted](
            std::vector<std::string>& found, ScanControl& control) {
            std::vector<ScanFailure> failures = collect(found, control);
            if (sorted && !control.cancelled) {
                SortPending(found);
            }
            if (collected && !control.cancelled) {
                collected(found);
            }
            return failures;
        },
        [this] { QMetaObject::invokeMethod(this, &BatchView::ScanEnded, Qt::QueuedConnection); });
    ShowBatchProgress();
    batchProgressTimer->start();
    window.refreshCommands();
}

void BatchView::ScanEnded() {
    if (scan == nullptr || commit != nullptr) {
        return;
    }
    worker->PendingPaths = std::move(scan->Paths());
    // The second core sums the sizes while this thread makes the rows.
    if (!collection.ended) {
        worker->SumPendingSizes();
    }
    commit = std::make_unique<PendingCommit>(window.list.Model(), worker->PendingPaths,
                                             worker->PendingRows);
    CommitSlice();
}

void BatchView::CommitSlice() {
    if (commit == nullptr) {
        return;
    }
    if (scan->Cancelled()) {
        commit->Undo();
    } else if (!commit->CommitUntil(PendingCommit::Clock::now() +
                                    std::chrono::milliseconds(kSliceMs))) {
        QTimer::singleShot(0, this, &BatchView::CommitSlice);
        return;
    }
    CommitEnded();
}

void BatchView::CommitEnded() {
    commit.reset();
    const bool cancelled = scan->Cancelled();
    const auto foldersNotRead = static_cast<int>(scan->Failures().size());
    // The scan's thread ends before what the collection holds goes.
    scan.reset();
    const Collection ended = std::exchange(collection, {});
    batchProgressTimer->stop();
    window.frame.setWindowTitle(QString::fromLatin1(kTitle));
    if (cancelled) {
        worker->DropPendingSizes();
        window.refreshCommands();
    } else {
        UpdateFileCount();
    }
    if (ended.ended) {
        ended.ended(cancelled ? std::nullopt : std::optional<int>(foldersNotRead));
    } else if (!cancelled) {
        Start(foldersNotRead);
    }
}

void BatchView::Add(std::vector<std::string> paths) {
    ClearPending(worker->PendingPaths, worker->PendingRows);
    worker->PendingPaths = std::move(paths);
    CommitPending(window.list.Model(), worker->PendingPaths, worker->PendingRows,
                  window.settings.AutoSortFileName);
    UpdateFileCount();
    Start(0);
}

bool BatchView::Start(int foldersNotRead, Verification* verification, Judged answer) {
    outcome->Start(foldersNotRead);
    window.frame.setWindowTitle(QString::fromLatin1(kTitle));
    const ProgramSettings& settings = window.settings;
    // A verification also computes the digests the lists hold that have no column.
    HashSelection hashes = settings.Hashes();
    if (verification != nullptr) {
        AddDigests(verification->Needed(), hashes);
    }
    if (!worker->StartWorker({hashes, settings.ShowHashInUppercase, settings.ShowBeepMessage})) {
        return false;
    }
    judge = verification;
    judged = std::move(answer);
    return true;
}

void BatchView::Stop() {
    CancelScan();
    worker->StopHashing();
}

void BatchView::CancelScan() {
    if (scan != nullptr) {
        scan->Cancel();
    }
}

bool BatchView::event(QEvent* event) {
    if (event->type() == WorkerMessagesEventType()) {
        HandleWorkerMessages();
        return true;
    }
    return QObject::event(event);
}

void BatchView::HandleWorkerMessages() {
    std::deque<QueuedMessage> taken = workerMessages.TakeAll();
    if (taken.empty()) {
        return;
    }
    QElapsedTimer spent;
    spent.start();
    // Each progress message shows the fields as they are when it is handled, so of several in a
    // row only the last one shows anything: it is shown once, before the batch's end if that comes.
    bool progressOwed = false;
    // The rows shown or coloured change the list once, when all of them have.
    window.list.Model().SetRedraw(false);
    while (!taken.empty() && !closing) {
        const QueuedMessage next = taken.front();
        taken.pop_front();
        if (next.message == UM_HASH_PROGRESS) {
            progressOwed = true;
            continue;
        }
        if (progressOwed && next.message == UM_HASH_BATCH_DONE) {
            HandleWorkerMessage(UM_HASH_PROGRESS, 0, 0);
            progressOwed = false;
        }
        HandleWorkerMessage(next.message, next.wParam, next.lParam);
        // The rest waits for the next turn of the event loop, so the window repaints meanwhile.
        if (!taken.empty() && spent.elapsed() >= kSliceMs) {
            workerMessages.PutBack(taken);
        }
    }
    if (progressOwed && !closing) {
        HandleWorkerMessage(UM_HASH_PROGRESS, 0, 0);
    }
    window.list.Model().SetRedraw(true);
    workerMessagesTimer->start();
}

void BatchView::HandleWorkerMessage(int message, int64_t wParam, int64_t lParam) {
    switch (message) {
        case UM_HASH_PROGRESS:
            ShowProgress();
            break;
        case UM_HASH_FILE_DONE:
            ShowResult(static_cast<int32_t>(wParam), lParam);
            break;
        case UM_HASH_BATCH_DONE:
            EndBatch();
            break;
    }
}

void BatchView::ShowResult(int32_t row, int64_t resultIndex) {
    // Each result is shown once: its texts move into the cells rather than being copied.
    FileEntry entry = worker->TakeResult(resultIndex);
    outcome->Show(row, entry, judge);
    FileListModel& rows = window.list.Model();
    rows.SetCellText(row, kColMd5, std::move(entry.md5));
    rows.SetCellText(row, kColSha1, std::move(entry.sha1));
    rows.SetCellText(row, kColCrc32, std::move(entry.crc32));
    rows.SetCellText(row, kColSha256, std::move(entry.sha256));
    rows.SetCellText(row, kColSize, SizeText(entry));
    rows.SetCellText(row, kColCreated, std::move(entry.created));
    rows.SetCellText(row, kColModified, std::move(entry.modified));
    rows.SetCellText(row, kColFullPath, std::move(entry.path));
}

void BatchView::EndBatch() {
    outcome->MarkNotReached(worker->RowsNotReached());
    worker->FinishBatch();
    EndBatchProgress();
    judge = nullptr;
    if (const Judged answer = std::exchange(judged, {})) {
        answer(*outcome);
    }
    ShowFailureNote();
}

void BatchView::ShowFailureNote() {
    const QString note = outcome->FailureNote();
    if (!note.isEmpty()) {
        window.frame.setWindowTitle(note + QStringLiteral(" \u2013 ") +
                                    QString::fromLatin1(kTitle));
    }
}

void BatchView::ShowProgress() {
    window.panes.ShowProgress(worker->LastProgress(), worker->CurrentName(),
                              worker->CurrentFolder());
    const int32_t row = worker->CurrentRow();
    if (window.list.HighlightRow() != row) {
        window.list.SetHighlightRow(row);
    }
}

void BatchView::BatchStarted() {
    batchProgress.Start(BatchProgress::Clock::now());
    ShowBatchProgress();
    batchProgressTimer->start();
}

void BatchView::ShowBatchProgress() {
    if (scan != nullptr) {
        window.frame.setWindowTitle(QString::fromUtf8(ScanProgressText() + " \u2013 " + kTitle));
        return;
    }
    const BatchCounts counts = worker->Counts();
    const BatchFigures figures = batchProgress.Sample(BatchProgress::Clock::now(), counts);
    window.frame.setWindowTitle(
        QString::fromUtf8(BatchProgressText(figures) + " \u2013 " + kTitle));
    if (figures.percent) {
        launcherEntry.ShowProgress(*figures.percent / 100.0);
    }
}

std::string BatchView::ScanProgressText() const {
    if (collection.progress) {
        if (std::optional<std::string> text = collection.progress()) {
            return *std::move(text);
        }
    }
    const std::size_t found = scan->Found();
    return FormatFileSize(found) + (found == 1 ? " file" : " files") + " found";
}

void BatchView::EndBatchProgress() {
    batchProgressTimer->stop();
    window.frame.setWindowTitle(QString::fromLatin1(kTitle));
    launcherEntry.HideProgress();
}

void BatchView::MarkDuplicates() {
    const int keyColumn = DuplicateKeyColumn(window.settings.Hashes());
    if (keyColumn < 0) {
        return;
    }
    window.list.Model().MarkDuplicates(keyColumn);
    window.refreshCommands();
}

void BatchView::SetSortable(bool on) {
    window.list.SetSortable(on);
}

void BatchView::RefreshCommandStates() {
    window.refreshCommands();
}

void BatchView::Beep() {
    QApplication::beep();
}

void BatchView::UpdateFileCount() {
    window.panes.UpdateFileCount(window.list.Model().RowCount());
}

}  // namespace rizo
