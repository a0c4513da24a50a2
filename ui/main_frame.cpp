// The main window's creation and destruction sequences, command routing and command states.
#include "ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>
#include <array>

#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "ui/command_ids.h"
#include "ui/images.h"

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

}  // namespace

MainFrame::MainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Rizodidiz"));
    setWindowIcon(ApplicationIcon());
    setMinimumSize(800, 480);
    // Right clicks on the bars show nothing; only the list has a context menu.
    setContextMenuPolicy(Qt::PreventContextMenu);

    ResolveSettingsPath(settings);
    LoadSettings(settings);
    osClass = OsClass();

    CreateCommandActions();
    CreateMenuBar();
    contextMenu = CreateMenu(QString(), ContextMenuItems(), this);
    CreateToolBar();
    CreateShortcuts();
    statusBar()->setSizeGripEnabled(true);

    RefreshCommandStates();
    PlaceWindow();
    setAcceptDrops(true);

    if (osClass == 0 || osClass == 1) {
        settings.HashSHA256 = false;
    }
    engine.AcquireProvider(osClass == 0 || osClass == 1, osClass == 2);
    ApplyDigestSelection();
    ApplyAlwaysOnTop();
}

MainFrame::~MainFrame() {
    std::array<int32_t, kListColumnCount> widths = settings.ColumnWidth;
    CaptureWindowState(settings, ToWindowRect(normalGeometry()), widths);
    SaveSettings(settings);
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
    connect(menu, &QMenu::aboutToShow, this, [this] { ++openMenus; });
    connect(menu, &QMenu::aboutToHide, this, [this] {
        if (--openMenus == 0) {
            EndPrompt();
        }
    });
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
    return CommandContext{busy, 0, 0, &settings, osClass};
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
    if (busy) {
        return;
    }
}

void MainFrame::AddFolder() {
    if (busy) {
        return;
    }
}

void MainFrame::SelectAll() {}

void MainFrame::SelectNone() {}

void MainFrame::RemoveSelected() {
    if (busy) {
        return;
    }
}

void MainFrame::ClearAll() {
    if (busy) {
        return;
    }
}

void MainFrame::RehashAll() {
    if (busy) {
        return;
    }
}

void MainFrame::StopHashing() {}

void MainFrame::Exit() {
    if (busy) {
        return;
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainFrame::SaveToFile() {}

void MainFrame::CopyToClipboard(ExportKind) {}

void MainFrame::ShowOptions() {
    if (busy) {
        return;
    }
}

void MainFrame::ToggleUppercase() {
    if (busy) {
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

void MainFrame::OpenHelpTopics() {}

void MainFrame::OpenHomePage() {}

void MainFrame::OpenSupportPage() {}

void MainFrame::ShowAbout() {}

void MainFrame::DropFiles(const std::vector<std::string>&) {
    if (busy) {
        return;
    }
}

bool MainFrame::ConfirmClose() {
    if (!busy) {
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
    if (event->type() == QEvent::StatusTip) {
        // Prompts belong to menus; hovering a toolbar button leaves the panes alone.
        if (openMenus > 0) {
            ShowPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        }
        return true;
    }
    return QMainWindow::event(event);
}

void MainFrame::ShowPrompt(const QString& prompt) {
    // An empty message would bring the panes back; a blank keeps the bar in prompt mode.
    statusBar()->showMessage(prompt.isEmpty() ? QStringLiteral(" ") : prompt);
}

void MainFrame::EndPrompt() {
    statusBar()->clearMessage();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    event->acceptProposedAction();
    DropFiles(paths);
}

}  // namespace rizo
