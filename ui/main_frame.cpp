// SPDX-License-Identifier: MIT
// The main window's creation and destruction sequences, command routing and command handlers.
#include "ui/main_frame.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <algorithm>
#include <array>
#include <climits>

#include "base/value_format.h"
#include "export/save_selection.h"
#include "filelist/folder_scan.h"
#include "filelist/pending_batch.h"
#include "filelist/row_commands.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "ui/clipboard_text.h"
#include "ui/command_actions.h"
#include "ui/command_ids.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/options_dialog.h"
#include "ui/dialogs/web_links.h"
#include "ui/dropped_items.h"
#include "ui/file_dialogs.h"
#include "ui/images.h"
#include "ui/message_box.h"
#include "ui/sort_list_view.h"
#include "ui/status_panes.h"
#include "ui/verify_flow.h"
#include "verify/listed_file.h"

namespace rizo {
namespace {

constexpr std::array kDigestFlags = {&ProgramSettings::HashMD5, &ProgramSettings::HashSHA1,
                                     &ProgramSettings::HashCRC32, &ProgramSettings::HashSHA256};

WindowRect ToWindowRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect ToQRect(const WindowRect& rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
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
    setWindowIcon(ApplicationIcon());
    setMinimumSize(800, 480);
    // Right clicks on the bars show nothing; only the list has a context menu.
    setContextMenuPolicy(Qt::PreventContextMenu);

    ResolveSettingsPath(settings);
    LoadSettings(settings);
    osClass = OsClass();
    // The panes come first so that every menu can be watched for its prompts.
    panes = new StatusPanes(*statusBar());
    commands = std::make_unique<CommandActions>(
        *this, *panes, [this](int id) { Execute(id); }, [this] { return Context(); });
    CreateFileList();
    CreateBatchView();

    RefreshCommandStates();
    PlaceWindow();
    setAcceptDrops(true);
    // Escape cancels a folder scan, as Stop does; it leaves a running batch alone.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { batch->CancelScan(); });

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
    // Before the verification flow goes: a scan's thread may still be reading its lists.
    batch.reset();
}

void MainFrame::CreateFileList() {
    list = new SortListView(settings.ColumnWidth, settings.UseMonoFont, this);
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

void MainFrame::CreateBatchView() {
    auto makeEngine = [this] {
        auto engine = std::make_unique<DigestEngine>();
        engine->AcquireProvider(osClass == 0 || osClass == 1, osClass == 2);
        return engine;
    };
    const auto refresh = [this] { RefreshCommandStates(); };
    batch = std::make_unique<BatchView>(BatchView::Window{*this, *list, *panes, settings, refresh},
                                        std::move(makeEngine));
    verify = std::make_unique<VerifyFlow>(
        VerifyFlow::Window{*this, *list, settings.LastFolder,
                           [this](const HashSelection& digests) { SwitchOn(digests); }, refresh},
        *batch);
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
    commands->Refresh({int{kCmdHashMd5} + digest, int{kCmdCopyMd5} + digest});
}

void MainFrame::SwitchOn(const HashSelection& digests) {
    const std::array<bool, kDigestCount> wanted = {digests.md5, digests.sha1, digests.crc32,
                                                   digests.sha256};
    for (int d = kDigestMd5; d < kDigestCount; ++d) {
        if (wanted[d] && !(settings.*kDigestFlags[d])) {
            ApplyDigest(static_cast<Digest>(d), true);
        }
    }
}

void MainFrame::ApplyAlwaysOnTop() {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, settings.AlwaysOnTop);
    // Changing a window flag hides a shown window.
    if (visible) {
        show();
    }
    commands->Refresh({kCmdAlwaysOnTop});
}

void MainFrame::Execute(int commandId) {
    const CommandSpec* spec = FindCommand(commandId);
    if (spec == nullptr) {
        return;
    }
    spec->handler(*this);
    commands->Restore(commandId);
}

QAction* MainFrame::CommandAction(int commandId) const {
    return commands->Action(commandId);
}

CommandContext MainFrame::Context() const {
    const FileListModel& rows = list->Model();
    return CommandContext{Busy(),    rows.RowCount(), rows.SelectedCount(), rows.FailedCount(),
                          &settings, osClass};
}

void MainFrame::RefreshCommandStates() {
    commands->RefreshAll();
}

void MainFrame::RefreshSelectionCommands() {
    commands->RefreshSelection();
}

void MainFrame::AddFiles() {
    if (Busy()) {
        return;
    }
    std::vector<std::string> paths = AskFilesToAdd(DialogOwner(), settings.LastFolder);
    if (!paths.empty()) {
        batch->Add(std::move(paths));
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
    batch->Collect(
        {.collect = [folder = *folder](std::vector<std::string>& paths, ScanControl& control) {
            return ScanFolder(folder, paths, &control);
        }});
}

void MainFrame::VerifyChecksumFile() {
    verify->Choose(DialogOwner());
}

void MainFrame::AuditFolder() {
    verify->Choose(DialogOwner(), true);
}

void MainFrame::VerifyFiles(const std::vector<std::string>& checksumFiles,
                            const std::vector<std::string>& plainItems) {
    verify->Start(checksumFiles, plainItems);
}

void MainFrame::CompareWithClipboard() {
    const std::string digest =
        QGuiApplication::clipboard()->text().trimmed().toLatin1().toStdString();
    // Only the window's four digests have columns.
    const std::optional<ListedDigest> kind = UntaggedKinds(digest.size(), std::nullopt);
    if (!kind || kind->kind > DigestKind::kSha256 || !IsHex(digest, digest.size())) {
        ShowMessage(*this,
                    QStringLiteral("The clipboard holds no digest: 8, 32, 40 or 64 hexadecimal "
                                   "digits."),
                    false);
        return;
    }
    static constexpr std::array<int, 4> kColumnOf = {kColMd5, kColSha1, kColCrc32, kColSha256};
    const int column = kColumnOf[static_cast<int>(kind->kind)];
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
    ShowMessage(*this,
                matches == 0 ? QStringLiteral("No row has the %1 digest from the clipboard.")
                                   .arg(QString::fromLatin1(KindName(kind->kind)))
                             : QStringLiteral("%1 %2 the %3 digest from the clipboard.")
                                   .arg(matches)
                                   .arg(matches == 1 ? "row has" : "rows have")
                                   .arg(QString::fromLatin1(KindName(kind->kind))),
                false);
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
    if (Busy() || !QueueAllRows(list->Model(), Worker().PendingPaths, Worker().PendingRows)) {
        return;
    }
    batch->Start(0);
}

void MainFrame::StopHashing() {
    batch->Stop();
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
    commands->Refresh({kCmdUppercase});
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
    batch->Collect({.collect = [paths](std::vector<std::string>& found, ScanControl& control) {
        return CollectDroppedItems(paths, found, &control);
    }});
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
    batch->Close();
    event->accept();
}

bool MainFrame::event(QEvent* event) {
    // The panes show the prompts of menu items themselves; hovering a toolbar button shows none.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

void MainFrame::UpdateFileCount() {
    panes->UpdateFileCount(list->Model().RowCount());
}

void MainFrame::ShowContextMenu(QPoint point) {
    if (QGuiApplication::screenAt(point) == nullptr) {
        const QRect work = NearestScreen(point)->availableGeometry();
        point.setX(std::clamp(point.x(), work.left(), work.right()));
    }
    commands->ContextMenu().popup(point);
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
