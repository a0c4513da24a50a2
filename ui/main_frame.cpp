// SPDX-License-Identifier: MIT
// The main window's creation and destruction sequences, command routing and command states.
#include "ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <climits>

#include "base/value_format.h"
#include "export/save_selection.h"
#include "filelist/duplicate_groups.h"
#include "filelist/folder_scan.h"
#include "filelist/row_commands.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "ui/batch_outcome.h"
#include "ui/clipboard_text.h"
#include "ui/command_ids.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/options_dialog.h"
#include "ui/dialogs/web_links.h"
#include "ui/dropped_items.h"
#include "ui/file_dialogs.h"
#include "ui/images.h"
#include "ui/sort_list_view.h"
#include "ui/status_panes.h"

namespace rizo {
namespace {

constexpr std::array kDigestFlags = {&ProgramSettings::HashMD5, &ProgramSettings::HashSHA1,
                                     &ProgramSettings::HashCRC32, &ProgramSettings::HashSHA256};

WindowRect ToWindowRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

constexpr char kTitle[] = "Rizodidiz";
// How often the title and the taskbar entry follow a running batch.
constexpr int kBatchProgressEveryMs = 250;

QRect ToQRect(const WindowRect& rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

// The event that has the window handle the worker's queued messages.
QEvent::Type WorkerMessagesEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// How long the window works through worker messages or the rows of a batch before it lets the
// event loop turn.
constexpr qint64 kSliceMs = 20;
// How long the worker's messages gather after a handling before the next one. Waking this thread
// for every small file hashed cost more than the file, and a repaint shows them all anyway.
constexpr int kWorkerMessagesGatherMs = 20;

// What went wrong with the checksum files, one line each.
QString ErrorLines(const Verification& run) {
    QStringList lines;
    for (const std::string& error : run.Errors()) {
        lines << QString::fromLocal8Bit(error);
    }
    return lines.join(QLatin1Char('\n'));
}

// Why a saved checksum file lists fewer files than were selected.
QString SkippedRowsText(const ChecksumText& skipped, ChecksumFormat format) {
    static constexpr std::array<const char*, 4> kDigests = {"MD5", "SHA1", "SHA256", "CRC32"};
    QStringList reasons;
    if (skipped.withoutDigest > 0) {
        reasons << QStringLiteral(
                       "%1 selected %2 left out: %3 no %4 digest (switch the digest on "
                       "and refresh to list %5).")
                       .arg(skipped.withoutDigest)
                       .arg(skipped.withoutDigest == 1 ? "row was" : "rows were")
                       .arg(skipped.withoutDigest == 1 ? "it has" : "they have")
                       .arg(kDigests[static_cast<int>(format)])
                       .arg(skipped.withoutDigest == 1 ? "it" : "them");
    }
    if (skipped.unwritableName > 0) {
        reasons << QStringLiteral(
                       "%1 selected %2 left out: an SFV file cannot hold a name with a "
                       "line break, a leading ; or #, or trailing blanks.")
                       .arg(skipped.unwritableName)
                       .arg(skipped.unwritableName == 1 ? "row was" : "rows were");
    }
    return reasons.join(QLatin1Char('\n'));
}

// The screen nearest to a point that lies on none.
const QScreen* NearestScreen(QPoint point) {
    const QScreen* nearest = QGuiApplication::primaryScreen();
    long best = LONG_MAX;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        const long dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
        const long dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = screen;
        }
    }
    return nearest;
}

}  // namespace

MainFrame::MainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(ApplicationIcon());
    setMinimumSize(800, 480);
    // Right clicks on the bars show nothing; only the list has a context menu.
    setContextMenuPolicy(Qt::PreventContextMenu);

    ResolveSettingsPath(settings);
    LoadSettings(settings);
    osClass = OsClass();
    const auto makeEngine = [this] {
        auto engine = std::make_unique<DigestEngine>();
        engine->AcquireProvider(osClass == 0 || osClass == 1, osClass == 2);
        return engine;
    };
    worker = std::make_unique<BatchWorker>(makeEngine, *this, *this);

    // The panes come first so that every menu can be watched for its prompts.
    panes = new StatusPanes(*statusBar());
    CreateCommandActions();
    CreateMenuBar();
    contextMenu = CreateMenu(QString(), ContextMenuItems(), this);
    CreateToolBar();
    CreateShortcuts();
    CreateFileList();

    RefreshCommandStates();
    PlaceWindow();
    setAcceptDrops(true);
    batchProgressTimer = new QTimer(this);
    batchProgressTimer->setInterval(kBatchProgressEveryMs);
    connect(batchProgressTimer, &QTimer::timeout, this, &MainFrame::ShowBatchProgress);
    workerMessagesTimer = new QTimer(this);
    workerMessagesTimer->setSingleShot(true);
    workerMessagesTimer->setInterval(kWorkerMessagesGatherMs);
    connect(workerMessagesTimer, &QTimer::timeout, this, &MainFrame::HandleWorkerMessages);
    // Escape cancels a folder scan, as Stop does; it leaves a running batch alone.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (scan != nullptr) {
            scan->Cancel();
        }
    });

    if (osClass == 0 || osClass == 1) {
        settings.HashSHA256 = false;
    }
    ApplyDigestSelection();
    ApplyAlwaysOnTop();
}

MainFrame::~MainFrame() {
    std::array<int32_t, kListColumnCount> widths{};
    for (int column = 0; column < kListColumnCount; ++column) {
        widths[column] = list->ReportedColumnWidth(column);
    }
    // Wayland never tells a window where it is.
    const bool placeKnown = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    CaptureWindowState(settings, ToWindowRect(normalGeometry()), widths, placeKnown);
    SaveSettings(settings);
    // The worker's thread posts into the message queue declared after it, so it ends first; a
    // scan's thread may still be reading the verification.
    worker.reset();
    scan.reset();
}

void MainFrame::CreateFileList() {
    list = new SortListView(settings.ColumnWidth, settings.UseMonoFont, this);
    outcome = std::make_unique<BatchOutcome>(list->Model());
    for (int column = 0; column < kListColumnCount; ++column) {
        if (!settings.ColumnWidthRead[column]) {
            list->WidenToFit(column);
        }
    }
    setCentralWidget(list);
    setFocusProxy(list);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->horizontalHeader()->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { ShowContextMenu(list->viewport()->mapToGlobal(at)); });
    connect(&list->Model(), &FileListModel::SelectionEdited, this,
            &MainFrame::RefreshSelectionCommands);
}

void MainFrame::CreateCommandActions() {
    for (const CommandSpec& spec : CommandTable()) {
        auto* action = new QAction(QString::fromUtf8(spec.menuText), this);
        action->setStatusTip(QString::fromUtf8(spec.prompt));
        if (*spec.toolTip != '\0') {
            action->setToolTip(QString::fromUtf8(spec.toolTip));
        }
        if (spec.image != nullptr) {
            action->setIcon(ToolbarImage(spec.image));
        }
        action->setCheckable(spec.checked != nullptr);
        if (spec.shortcut != nullptr) {
            // Shown in the menu and told to screen readers; the window's own shortcut (see
            // CreateShortcuts) handles the key, so the action's never matches.
            action->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        const int id = spec.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        actions[id] = action;
        if (spec.enabled != nullptr || spec.checked != nullptr) {
            states[id] = CommandState{};
        }
    }
}

QMenu* MainFrame::CreateMenu(const QString& title, std::span<const int> items, QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    for (const int item : items) {
        if (item == kSeparator) {
            menu->addSeparator();
        } else if (item == kHashTypeSubmenu) {
            menu->addMenu(CreateMenu(QStringLiteral("Hash Type"), HashTypeMenu(), menu));
        } else {
            menu->addAction(actions.at(item));
        }
    }
    panes->WatchMenu(*menu);
    return menu;
}

void MainFrame::CreateMenuBar() {
    for (const MenuSpec& spec : MainMenus()) {
        menuBar()->addMenu(CreateMenu(QString::fromUtf8(spec.title), spec.items, menuBar()));
    }
}

void MainFrame::CreateToolBar() {
    auto* toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar->setObjectName(QStringLiteral("toolbar"));
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    for (const int item : ToolbarButtons()) {
        if (item == kSeparator) {
            toolBar->addSeparator();
        } else {
            toolBar->addAction(actions.at(item));
        }
    }
    // The chevron that drops down the buttons that do not fit; Qt leaves it nameless.
    if (auto* chevron = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        chevron->setAccessibleName(QStringLiteral("More Buttons"));
    }
    addToolBar(Qt::TopToolBarArea, toolBar);
}

void MainFrame::CreateShortcuts() {
    // Window shortcuts, not action shortcuts: a disabled action would swallow its key, while
    // the keys must reach their handlers in every state.
    for (const CommandSpec& spec : CommandTable()) {
        if (spec.shortcut == nullptr) {
            continue;
        }
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)), this);
        const int id = spec.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { Execute(id); });
    }
}

void MainFrame::PlaceWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen->geometry();
    const StartupPlacement placement =
        ComputeStartupPlacement(settings, ScreenSize{screenRect.width(), screenRect.height()});
    WindowRect rect = placement.rect;
    if (placement.centre) {
        rect = CentreInWorkArea(rect.Width(), rect.Height(),
                                ToWindowRect(screen->availableGeometry()));
    }
    setGeometry(ToQRect(rect));
}

void MainFrame::ApplyDigestSelection() {
    for (int d = kDigestMd5; d < kDigestCount; ++d) {
        ApplyDigest(static_cast<Digest>(d), settings.*kDigestFlags[d]);
    }
}

void MainFrame::ApplyDigest(Digest digest, bool on) {
    settings.*kDigestFlags[digest] = on;
    list->SetColumnHidden(int{kColMd5} + digest, !on);
    const CommandContext context = Context();
    ApplyRules(*FindCommand(int{kCmdHashMd5} + digest), context);
    ApplyRules(*FindCommand(int{kCmdCopyMd5} + digest), context);
}

void MainFrame::ApplyAlwaysOnTop() {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, settings.AlwaysOnTop);
    // Changing a window flag hides a shown window.
    if (visible) {
        show();
    }
    ApplyRules(*FindCommand(kCmdAlwaysOnTop), Context());
}

void MainFrame::Execute(int commandId) {
    const CommandSpec* spec = FindCommand(commandId);
    if (spec == nullptr) {
        return;
    }
    spec->handler(*this);
    // A checkable action flips itself when clicked; the table decides what it shows.
    if (const auto it = states.find(commandId); it != states.end()) {
        SetCommandState(commandId, it->second);
    }
}

QAction* MainFrame::CommandAction(int commandId) const {
    const auto it = actions.find(commandId);
    return it == actions.end() ? nullptr : it->second;
}

CommandContext MainFrame::Context() const {
    const FileListModel& rows = list->Model();
    return CommandContext{Busy(),    rows.RowCount(), rows.SelectedCount(), rows.FailedCount(),
                          &settings, osClass};
}

void MainFrame::ApplyRules(const CommandSpec& spec, const CommandContext& context) {
    const auto it = states.find(spec.id);
    if (it == states.end()) {
        return;
    }
    CommandState state = it->second;
    if (spec.enabled != nullptr) {
        state.enabled = spec.enabled(context);
    }
    if (spec.checked != nullptr) {
        state.checked = spec.checked(context);
    }
    SetCommandState(spec.id, state);
}

void MainFrame::SetCommandState(int commandId, CommandState state) {
    states[commandId] = state;
    QAction* action = actions.at(commandId);
    action->setEnabled(state.enabled);
    action->setChecked(state.checked);
}

void MainFrame::RefreshCommandStates() {
    const CommandContext context = Context();
    for (const CommandSpec& spec : CommandTable()) {
        ApplyRules(spec, context);
    }
    RefreshSelectionCommands();
}

void MainFrame::RefreshSelectionCommands() {
    const CommandContext context = Context();
    for (const CommandSpec& spec : CommandTable()) {
        if (spec.followsSelection) {
            ApplyRules(spec, context);
        }
    }
}

void MainFrame::AddFiles() {
    if (Busy()) {
        return;
    }
    ClearPending(worker->PendingPaths, worker->PendingRows);
    worker->PendingPaths = AskFilesToAdd(DialogOwner(), settings.LastFolder);
    if (!worker->PendingPaths.empty()) {
        CommitPendingAndStart(0);
    }
}

void MainFrame::AddFolder() {
    if (Busy()) {
        return;
    }
    const std::optional<std::string> folder = AskFolderToAdd(DialogOwner(), settings.LastFolder);
    if (!folder) {
        return;
    }
    // An empty folder still runs a batch, so the end-of-batch handling runs as after any add.
    StartScan([folder = *folder](std::vector<std::string>& paths, ScanControl& control) {
        return ScanFolder(folder, paths, &control);
    });
}

void MainFrame::StartScan(BackgroundScan::Collect collect,
                          std::function<void(const std::vector<std::string>&)> collected) {
    ClearPending(worker->PendingPaths, worker->PendingRows);
    // Sorted on the scan's thread: sorting the paths of a large folder would hold the window.
    const bool sorted = settings.AutoSortFileName;
    scan = std::make_unique<BackgroundScan>(
        [collect = std::move(collect), collected = std::move(collected), sorted](
            std::vector<std::string>& paths, ScanControl& control) {
            std::vector<ScanFailure> failures = collect(paths, control);
            if (sorted && !control.cancelled) {
                SortPending(paths);
            }
            if (collected && !control.cancelled) {
                collected(paths);
            }
            return failures;
        },
        [this] { QMetaObject::invokeMethod(this, &MainFrame::ScanEnded, Qt::QueuedConnection); });
    ShowBatchProgress();
    batchProgressTimer->start();
    RefreshCommandStates();
}

void MainFrame::ScanEnded() {
    if (scan == nullptr || commit != nullptr) {
        return;
    }
    worker->PendingPaths = std::move(scan->Paths());
    // The second core sums the sizes while this thread makes the rows; not for a verification,
    // which may end without a batch.
    if (!verification) {
        worker->SumPendingSizes();
    }
    commit =
        std::make_unique<PendingCommit>(list->Model(), worker->PendingPaths, worker->PendingRows);
    CommitSlice();
}

void MainFrame::CommitSlice() {
    if (commit == nullptr) {
        return;
    }
    if (scan->Cancelled()) {
        commit->Undo();
    } else if (!commit->CommitUntil(PendingCommit::Clock::now() +
                                    std::chrono::milliseconds(kSliceMs))) {
        QTimer::singleShot(0, this, &MainFrame::CommitSlice);
        return;
    }
    CommitEnded();
}

void MainFrame::CommitEnded() {
    commit.reset();
    // The scan's thread ends before the verification it read goes.
    std::unique_ptr<Verification> read = std::move(verification);
    const std::unique_ptr<BackgroundScan> ended = std::move(scan);
    batchProgressTimer->stop();
    setWindowTitle(QString::fromLatin1(kTitle));
    if (ended->Cancelled()) {
        worker->DropPendingSizes();
        RefreshCommandStates();
        return;
    }
    const auto foldersNotRead = static_cast<int>(ended->Failures().size());
    if (read) {
        StartVerification(std::move(read), foldersNotRead);
    } else {
        UpdateFileCount();
        StartBatch(foldersNotRead);
    }
}

void MainFrame::VerifyChecksumFile() {
    if (Busy()) {
        return;
    }
    if (const std::optional<std::string> path =
            AskChecksumFile(DialogOwner(), settings.LastFolder)) {
        VerifyFiles({*path}, {});
    }
}

void MainFrame::VerifyFiles(const std::vector<std::string>& checksumFiles,
                            const std::vector<std::string>& plainItems) {
    if (Busy()) {
        return;
    }
    verification = std::make_unique<Verification>(checksumFiles);
    // The window keeps the verification until the scan has ended, and ends the scan first.
    Verification* read = verification.get();
    StartScan(
        [read, plainItems](std::vector<std::string>& paths, ScanControl& control) {
            read->Read(control.cancelled);
            if (control.cancelled || read->PathCount() == 0) {
                return std::vector<ScanFailure>{};
            }
            read->AppendPaths(paths);
            // The title counts the listed files too, as files the batch will hash.
            control.found = paths.size();
            return CollectDroppedItems(plainItems, paths, &control);
        },
        [read](const std::vector<std::string>& paths) { read->IndexPaths(paths); });
}

void MainFrame::StartVerification(std::unique_ptr<Verification> run, int foldersNotRead) {
    if (run->PathCount() == 0) {
        ShowMessage(ErrorLines(*run), true);
        RefreshCommandStates();
        return;
    }
    UpdateFileCount();
    run->Bind(worker->PendingRows);
    // Only rows an earlier verification judged have a verdict to clear: a signal for each of a
    // million new rows would hold the window.
    FileListModel& rows = list->Model();
    for (const int32_t row : worker->PendingRows) {
        if (!rows.CellText(row, kColVerdict).empty()) {
            rows.SetCellText(row, kColVerdict, "");
        }
    }
    const HashSelection needed = run->Needed();
    const std::array<bool, kDigestCount> wanted = {needed.md5, needed.sha1, needed.crc32,
                                                   needed.sha256};
    for (int d = kDigestMd5; d < kDigestCount; ++d) {
        if (wanted[d] && !(settings.*kDigestFlags[d])) {
            ApplyDigest(static_cast<Digest>(d), true);
        }
    }
    list->SetColumnHidden(kColVerdict, false);
    verification = std::move(run);
    StartBatch(foldersNotRead);
    if (!Busy()) {
        verification.reset();
    }
}

void MainFrame::CompareWithClipboard() {
    const std::string digest =
        QGuiApplication::clipboard()->text().trimmed().toLatin1().toStdString();
    const std::optional<DigestKind> kind = KindOfHexLength(digest.size());
    if (!kind || !IsHex(digest, digest.size())) {
        ShowMessage(QStringLiteral("The clipboard holds no digest: 8, 32, 40 or 64 hexadecimal "
                                   "digits."),
                    false);
        return;
    }
    static constexpr std::array<int, 4> kColumnOf = {kColMd5, kColSha1, kColCrc32, kColSha256};
    const int column = kColumnOf[static_cast<int>(*kind)];
    FileListModel& rows = list->Model();
    rizo::SelectNone(rows);
    const std::string wanted = LowerHex(digest);
    int first = -1;
    int matches = 0;
    for (int row = 0; row < rows.RowCount(); ++row) {
        if (LowerHex(rows.CellText(row, column)) == wanted) {
            rows.SetSelected(row, true);
            first = first < 0 ? row : first;
            ++matches;
        }
    }
    RefreshSelectionCommands();
    if (first >= 0) {
        list->scrollTo(rows.index(first, 0));
    }
    ShowMessage(matches == 0 ? QStringLiteral("No row has the %1 digest from the clipboard.")
                                   .arg(QString::fromLatin1(KindName(*kind)))
                             : QStringLiteral("%1 %2 the %3 digest from the clipboard.")
                                   .arg(matches)
                                   .arg(matches == 1 ? "row has" : "rows have")
                                   .arg(QString::fromLatin1(KindName(*kind))),
                false);
}

void MainFrame::ShowMessage(const QString& text, bool warning, const QString& title) {
    // Owned by the window and not waited for: it stays up however long the user is away.
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                title.isEmpty() ? QStringLiteral("Dodevovaze Rizodidiz") : title,
                                text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The box is as wide as its text; a short text would cut its title in the title bar. The
    // allowance is for the icon and buttons of the title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        const int titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle()) + 160;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box->open();
}

void MainFrame::CommitPendingAndStart(int foldersNotRead) {
    CommitPending(list->Model(), worker->PendingPaths, worker->PendingRows,
                  settings.AutoSortFileName);
    UpdateFileCount();
    StartBatch(foldersNotRead);
}

void MainFrame::StartBatch(int foldersNotRead) {
    outcome->Start(foldersNotRead);
    setWindowTitle(QString::fromLatin1(kTitle));
    worker->StartWorker(
        {settings.Hashes(), settings.ShowHashInUppercase, settings.ShowBeepMessage});
}

void MainFrame::SelectAll() {
    rizo::SelectAll(list->Model());
    RefreshSelectionCommands();
}

void MainFrame::SelectNone() {
    rizo::SelectNone(list->Model());
    RefreshSelectionCommands();
}

void MainFrame::SelectFailed() {
    rizo::SelectFailed(list->Model());
    RefreshSelectionCommands();
}

void MainFrame::RemoveSelected() {
    if (Busy() || !rizo::RemoveSelected(list->Model())) {
        return;
    }
    UpdateFileCount();
    RefreshCommandStates();
}

void MainFrame::ClearAll() {
    if (Busy()) {
        return;
    }
    rizo::ClearAll(list->Model());
    list->SetColumnHidden(kColVerdict, true);
    UpdateFileCount();
    RefreshCommandStates();
}

void MainFrame::RehashAll() {
    if (Busy() || !QueueAllRows(list->Model(), worker->PendingPaths, worker->PendingRows)) {
        return;
    }
    StartBatch(0);
}

void MainFrame::StopHashing() {
    if (scan != nullptr) {
        scan->Cancel();
    }
    worker->StopHashing();
}

void MainFrame::Exit() {
    if (Busy()) {
        return;
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// Export reads the cells as they stand, also while a batch runs.
void MainFrame::SaveToFile() {
    const std::optional<SaveChoice> choice = AskSavePath(DialogOwner(), settings.LastFolder);
    if (!choice) {
        return;
    }
    std::string error;
    const std::optional<ChecksumFormat> format = ChecksumFormatOf(choice->format);
    if (!format) {
        if (!SaveSelection(list->Model(), settings, choice->path, error)) {
            QMessageBox::warning(DialogOwner(), QStringLiteral("Dodevovaze Rizodidiz"),
                                 QString::fromLocal8Bit(error));
        }
        return;
    }
    ChecksumText skipped;
    if (!SaveChecksumFile(list->Model(), *format, choice->path, skipped, error)) {
        QMessageBox::warning(DialogOwner(), QStringLiteral("Dodevovaze Rizodidiz"),
                             QString::fromLocal8Bit(error));
    } else if (skipped.withoutDigest + skipped.unwritableName > 0) {
        QMessageBox::information(DialogOwner(), QStringLiteral("Dodevovaze Rizodidiz"),
                                 SkippedRowsText(skipped, *format));
    }
}

void MainFrame::CopyToClipboard(ExportKind kind) {
    if (std::optional<std::string> text = ExportSelection(list->Model(), kind, settings)) {
        CopyTextToClipboard(*text);
    }
}

void MainFrame::ShowOptions() {
    if (Busy()) {
        return;
    }
    RunOptionsDialog(settings, DialogOwner());
}

void MainFrame::ToggleUppercase() {
    if (Busy()) {
        return;
    }
    settings.ShowHashInUppercase = !settings.ShowHashInUppercase;
    ApplyRules(*FindCommand(kCmdUppercase), Context());
}

void MainFrame::ToggleAlwaysOnTop() {
    settings.AlwaysOnTop = !settings.AlwaysOnTop;
    ApplyAlwaysOnTop();
}

// The toggles are disabled while busy and have no keys, so they need no busy test.
void MainFrame::ToggleDigest(Digest digest) {
    ApplyDigest(digest, !(settings.*kDigestFlags[digest]));
}

void MainFrame::OpenHelpTopics() {
    urlOpener(WebLinks::kHelpIndex);
}

void MainFrame::OpenHomePage() {
    urlOpener(WebLinks::kMakerHome);
}

void MainFrame::OpenSupportPage() {
    urlOpener(WebLinks::kSupport);
}

void MainFrame::ShowAbout() {
    ShowAboutDialog(DialogOwner());
}

QWidget* MainFrame::DialogOwner() {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : this;
}

void MainFrame::DropFiles(const std::vector<std::string>& paths) {
    if (Busy()) {
        return;
    }
    std::vector<std::string> checksumFiles;
    std::vector<std::string> plainItems;
    for (const std::string& path : paths) {
        (IsChecksumFile(path) ? checksumFiles : plainItems).push_back(path);
    }
    if (!checksumFiles.empty()) {
        VerifyFiles(checksumFiles, plainItems);
        return;
    }
    StartScan([paths](std::vector<std::string>& found, ScanControl& control) {
        return CollectDroppedItems(paths, found, &control);
    });
}

bool MainFrame::ConfirmClose() {
    if (!Busy()) {
        return true;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Dodevovaze Rizodidiz"),
                    QStringLiteral("Do you want to stop hashing and exit?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes) {
        return false;
    }
    StopHashing();
    return true;
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    closing = true;
    event->accept();
}

bool MainFrame::event(QEvent* event) {
    const int type = event->type();
    if (type == WorkerMessagesEventType()) {
        HandleWorkerMessages();
        return true;
    }
    // The panes show the prompts of menu items themselves; hovering a toolbar button shows none.
    if (type == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

void MainFrame::Post(int message, int64_t wParam, int64_t lParam) {
    bool wake = false;
    {
        std::lock_guard lock(workerMessagesLock);
        wake = !workerWakePending;
        workerWakePending = true;
        workerMessages.push_back({message, wParam, lParam});
    }
    if (wake) {
        QCoreApplication::postEvent(this, new QEvent(WorkerMessagesEventType()));
    }
}

void MainFrame::HandleWorkerMessages() {
    std::deque<WorkerMessage> taken;
    {
        std::lock_guard lock(workerMessagesLock);
        taken.swap(workerMessages);
        // Nothing came since the last handling: the next message wakes this thread at once.
        workerWakePending = !taken.empty();
    }
    if (taken.empty()) {
        return;
    }
    QElapsedTimer spent;
    spent.start();
    // Each progress message shows the fields as they are when it is handled, so of several in a
    // row only the last one shows anything: it is shown once, before the batch's end if that comes.
    bool progressOwed = false;
    // The rows shown or coloured change the list once, when all of them have.
    list->Model().SetRedraw(false);
    while (!taken.empty() && !closing) {
        const WorkerMessage next = taken.front();
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
            std::lock_guard lock(workerMessagesLock);
            workerMessages.insert(workerMessages.begin(), taken.begin(), taken.end());
            taken.clear();
            QCoreApplication::postEvent(this, new QEvent(WorkerMessagesEventType()));
        }
    }
    if (progressOwed && !closing) {
        HandleWorkerMessage(UM_HASH_PROGRESS, 0, 0);
    }
    list->Model().SetRedraw(true);
    workerMessagesTimer->start();
}

void MainFrame::HandleWorkerMessage(int message, int64_t wParam, int64_t lParam) {
    switch (message) {
        case UM_HASH_PROGRESS:
            ShowProgress();
            break;
        case UM_HASH_FILE_DONE:
            ShowResult(static_cast<int32_t>(wParam), lParam);
            break;
        case UM_HASH_BATCH_DONE:
            outcome->MarkNotReached(worker->RowsNotReached());
            worker->FinishBatch();
            EndBatchProgress();
            if (verification) {
                FinishVerification();
            }
            ShowFailureNote();
            break;
    }
}

void MainFrame::ShowResult(int32_t row, int64_t resultIndex) {
    // Each result is shown once: its texts move into the cells rather than being copied.
    FileEntry entry = worker->TakeResult(resultIndex);
    outcome->Show(row, entry, verification.get());
    FileListModel& rows = list->Model();
    rows.SetCellText(row, kColMd5, std::move(entry.md5));
    rows.SetCellText(row, kColSha1, std::move(entry.sha1));
    rows.SetCellText(row, kColCrc32, std::move(entry.crc32));
    rows.SetCellText(row, kColSha256, std::move(entry.sha256));
    rows.SetCellText(row, kColSize, SizeText(entry));
    rows.SetCellText(row, kColCreated, std::move(entry.created));
    rows.SetCellText(row, kColModified, std::move(entry.modified));
    rows.SetCellText(row, kColFullPath, std::move(entry.path));
}

void MainFrame::ShowFailureNote() {
    const QString note = outcome->FailureNote();
    if (!note.isEmpty()) {
        setWindowTitle(note + QStringLiteral(" \u2013 ") + QString::fromLatin1(kTitle));
    }
}

void MainFrame::FinishVerification() {
    const std::unique_ptr<Verification> run = std::move(verification);
    const BatchOutcome::Answer answer = outcome->Finish(*run, ErrorLines(*run));
    // At most half the window's width (the list's is not laid out before the window is first
    // shown): a longer verdict is elided, and its tooltip is whole.
    list->WidenToShow(kColVerdict, QString::fromLocal8Bit(outcome->LongestVerdict()), width() / 2);
    ShowMessage(answer.text, answer.warning, answer.title);
}

void MainFrame::ShowProgress() {
    panes->ShowProgress(worker->LastProgress(), worker->CurrentName(), worker->CurrentFolder());
    const int32_t row = worker->CurrentRow();
    if (list->HighlightRow() != row) {
        list->SetHighlightRow(row);
    }
}

void MainFrame::BatchStarted() {
    batchProgress.Start(BatchProgress::Clock::now());
    ShowBatchProgress();
    batchProgressTimer->start();
}

void MainFrame::ShowBatchProgress() {
    if (scan != nullptr) {
        setWindowTitle(QString::fromUtf8(ScanProgressText() + " \u2013 " + kTitle));
        return;
    }
    const BatchCounts counts = worker->Counts();
    const BatchFigures figures = batchProgress.Sample(BatchProgress::Clock::now(), counts);
    setWindowTitle(QString::fromUtf8(BatchProgressText(figures) + " \u2013 " + kTitle));
    if (figures.percent) {
        launcherEntry.ShowProgress(*figures.percent / 100.0);
    }
}

std::string MainFrame::ScanProgressText() const {
    if (const auto reading = verification ? verification->Reading() : std::nullopt) {
        const std::size_t slash = reading->file.rfind('/');
        return "Reading " + reading->file.substr(slash + 1) + " \u00b7 " +
               FormatFileSize(reading->lines) + (reading->lines == 1 ? " line" : " lines");
    }
    const std::size_t found = scan->Found();
    return FormatFileSize(found) + (found == 1 ? " file" : " files") + " found";
}

void MainFrame::EndBatchProgress() {
    batchProgressTimer->stop();
    setWindowTitle(QString::fromLatin1(kTitle));
    launcherEntry.HideProgress();
}

void MainFrame::MarkDuplicates() {
    const int keyColumn = DuplicateKeyColumn(settings.Hashes());
    if (keyColumn < 0) {
        return;
    }
    list->Model().MarkDuplicates(keyColumn);
    RefreshCommandStates();
}

void MainFrame::SetSortable(bool on) {
    list->SetSortable(on);
}

void MainFrame::Beep() {
    QApplication::beep();
}

void MainFrame::UpdateFileCount() {
    panes->UpdateFileCount(list->Model().RowCount());
}

void MainFrame::ShowContextMenu(QPoint point) {
    if (QGuiApplication::screenAt(point) == nullptr) {
        const QRect work = NearestScreen(point)->availableGeometry();
        point.setX(std::clamp(point.x(), work.left(), work.right()));
    }
    contextMenu->popup(point);
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainFrame::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    DropFiles(DroppedNames(*event->mimeData()));
}

}  // namespace rizo
