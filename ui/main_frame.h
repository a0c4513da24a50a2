// SPDX-License-Identifier: MIT
// The main window: menus, toolbar, shortcut keys, command states, start-up and shut-down.
#pragma once

#include <QMainWindow>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/batch_host.h"
#include "engine/batch_progress.h"
#include "engine/batch_worker.h"
#include "engine/digest_engine.h"
#include "engine/message_poster.h"
#include "export/export_selection.h"
#include "filelist/background_scan.h"
#include "filelist/pending_batch.h"
#include "settings/program_settings.h"
#include "ui/command_table.h"
#include "ui/dialogs/open_url.h"
#include "ui/launcher_entry.h"
#include "verify/verification.h"

class QMenu;
class QTimer;

namespace rizo {

class BatchOutcome;
class SortListView;
class StatusPanes;

// The digests in the program's order; digest d has list column d + 1, toggle command
// kCmdHashMd5 + d and single-digest copy command kCmdCopyMd5 + d.
enum Digest : int { kDigestMd5, kDigestSha1, kDigestCrc32, kDigestSha256, kDigestCount };

class MainFrame : public QMainWindow, public MessagePoster, public BatchHost {
    Q_OBJECT

public:
    // The creation sequence: settings loaded, bars and list built, command states computed,
    // window placed, digest selection and Always on Top applied, all before the first show.
    explicit MainFrame(QWidget* parent = nullptr);
    // The destruction sequence: window rectangle and column widths captured, settings saved.
    ~MainFrame() override;

    // Routes a command identifier to its handler, as the menus, toolbar and keys do; the
    // handler runs whatever the command's enabled state.
    void Execute(int commandId);
    // The menu and toolbar action of a command; nullptr for an unknown identifier.
    QAction* CommandAction(int commandId) const;

    void RefreshCommandStates() override;
    void RefreshSelectionCommands();

    const ProgramSettings& Settings() const { return settings; }
    // Hashing, or collecting the files of a folder to hash.
    bool Busy() const { return worker->Busy() || scan != nullptr; }
    SortListView& List() { return *list; }
    StatusPanes& Panes() { return *panes; }
    BatchWorker& Worker() { return *worker; }

    // The worker's messages, posted from its thread as events of the message's number.
    void Post(int message, int64_t wParam, int64_t lParam) override;
    void SetSortable(bool on) override;
    void MarkDuplicates() override;
    void ShowProgress() override;
    void Beep() override;
    void BatchStarted() override;
    // Writes result `resultIndex` of the batch into the cells of `row`.
    void ShowResult(int32_t row, int64_t resultIndex);
    void UpdateFileCount();
    // Pops up the list's context menu at a screen point, pulled back onto the nearest screen.
    void ShowContextMenu(QPoint point);

    // Command handlers. Those that must not act while a batch runs test busy themselves,
    // because shortcut keys reach them while their commands are disabled.
    void AddFiles();
    void AddFolder();
    void VerifyChecksumFile();
    // Reads the checksum files and collects the plain dropped items as a folder scan does, on a
    // thread of its own that Stop cancels, adding nothing. Then makes rows of the listed files
    // (with the plain items as ordinary rows), switches on the digests they need and hashes them
    // in one batch, after which each listed row shows its verdict and a message box the overall
    // one. When no checksum file lists anything, a message box says why and the list stays as it
    // was.
    void VerifyFiles(const std::vector<std::string>& checksumFiles,
                     const std::vector<std::string>& plainItems);
    void CompareWithClipboard();
    void SelectAll();
    void SelectNone();
    void SelectFailed();
    void RemoveSelected();
    void ClearAll();
    void RehashAll();
    void StopHashing();
    void Exit();
    void SaveToFile();
    void CopyToClipboard(ExportKind kind);
    void ShowOptions();
    void ToggleUppercase();
    void ToggleAlwaysOnTop();
    void ToggleDigest(Digest digest);
    void OpenHelpTopics();
    void OpenHomePage();
    void OpenSupportPage();
    void ShowAbout();
    void DropFiles(const std::vector<std::string>& paths);
    // How the Help commands open their pages; ShellUtil::OpenUrl unless replaced.
    void SetUrlOpener(UrlOpener opener) { urlOpener = std::move(opener); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct CommandState {
        bool enabled = true;
        bool checked = false;
    };

    void CreateCommandActions();
    void CreateMenuBar();
    void CreateFileList();
    QMenu* CreateMenu(const QString& title, std::span<const int> items, QWidget* parent);
    void CreateToolBar();
    void CreateShortcuts();
    void PlaceWindow();
    void ApplyDigestSelection();
    void ApplyDigest(Digest digest, bool on);
    void ApplyAlwaysOnTop();
    bool ConfirmClose();
    // Dialogs are owned by the active window, normally this one.
    QWidget* DialogOwner();
    // Turns the pending paths into rows, updates the file count and starts the worker;
    // `foldersNotRead` folders could not be listed while the paths were collected.
    void CommitPendingAndStart(int foldersNotRead);
    // Starts the worker over the pending arrays; the last batch's failure note goes.
    void StartBatch(int foldersNotRead);
    // The window title counts the files of the batch that failed, are missing or could not be
    // read, and the folders that could not be listed, until the next batch.
    void ShowFailureNote();

    CommandContext Context() const;
    void ApplyRules(const CommandSpec& spec, const CommandContext& context);
    void SetCommandState(int commandId, CommandState state);
    void HandleWorkerMessage(int message, int64_t wParam, int64_t lParam);
    // The worker's messages queued since the last call, in order.
    void HandleWorkerMessages();
    // Collects the batch on a thread of its own (a folder may hold many thousands of files), then
    // commits and starts it, unless the scan was cancelled: then nothing is added. `collected`,
    // if any, sees the batch's paths in their final order on the same thread.
    void StartScan(BackgroundScan::Collect collect,
                   std::function<void(const std::vector<std::string>&)> collected = {});
    // Hands the scan's paths to a new batch, or to the verification it read.
    void ScanEnded();
    // Makes rows for the scan's paths until a slice of time is up, then lets the event loop turn;
    // once all have rows, starts the batch. A cancel meanwhile takes the rows made away again.
    void CommitSlice();
    void CommitEnded();
    // The rest of VerifyFiles once its checksum files are read, its plain items collected and the
    // rows of both made.
    void StartVerification(std::unique_ptr<Verification> run, int foldersNotRead);
    // The checksum file being read and its lines read so far, or the files found so far.
    std::string ScanProgressText() const;
    // The whole batch in the title and on the taskbar entry, while a batch runs; the files found
    // so far while a scan runs.
    void ShowBatchProgress();
    void EndBatchProgress();
    void FinishVerification();
    // A box that the window does not wait for; titled with the program's name unless `title`.
    void ShowMessage(const QString& text, bool warning, const QString& title = {});

    ProgramSettings settings;
    int osClass = 1;
    // Made after the settings are loaded and the platform's class is known.
    std::unique_ptr<BatchWorker> worker;
    // Set once a close is accepted: worker messages still queued then reach no handler.
    bool closing = false;
    // The notes and counts of the current or last batch.
    std::unique_ptr<BatchOutcome> outcome;
    std::map<int, QAction*> actions;
    std::map<int, CommandState> states;
    StatusPanes* panes = nullptr;
    SortListView* list = nullptr;
    QMenu* contextMenu = nullptr;
    BatchProgress batchProgress;
    QTimer* batchProgressTimer = nullptr;
    std::unique_ptr<BackgroundScan> scan;
    // Making the rows of a scan that has ended; the scan stays until they are made.
    std::unique_ptr<PendingCommit> commit;
    struct WorkerMessage {
        int message = 0;
        int64_t wParam = 0;
        int64_t lParam = 0;
    };
    // Posted by the worker's thread, handled on this one.
    std::mutex workerMessagesLock;
    std::deque<WorkerMessage> workerMessages;
    // Set, under the lock, from the message that wakes this thread until a handling finds the
    // queue empty: the messages posted meanwhile wake nothing.
    bool workerWakePending = false;
    // Lets the worker's messages gather for a moment after each handling.
    QTimer* workerMessagesTimer = nullptr;
    LauncherEntry launcherEntry;
    // The verification being read or hashed; none during an ordinary scan or batch.
    std::unique_ptr<Verification> verification;
    UrlOpener urlOpener = [](const std::string& address) { return ShellUtil::OpenUrl(address); };
};

}  // namespace rizo
