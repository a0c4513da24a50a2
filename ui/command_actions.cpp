// SPDX-License-Identifier: MIT
// The window's menus, toolbar, keys and command states, made from the command table.
#include "ui/command_actions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include "ui/images.h"
#include "ui/status_panes.h"

namespace rizo {

CommandActions::CommandActions(QMainWindow& window, StatusPanes& statusPanes,
                               std::function<void(int)> run,
                               std::function<CommandContext()> rulesContext)
    : panes(statusPanes), execute(std::move(run)), context(std::move(rulesContext)) {
    CreateActions(window);
    CreateMenuBar(window);
    contextMenu = CreateMenu(QString(), ContextMenuItems(), &window);
    CreateToolBar(window);
    CreateShortcuts(window);
}

void CommandActions::CreateActions(QMainWindow& window) {
    for (const CommandSpec& spec : CommandTable()) {
        auto* action = new QAction(QString::fromUtf8(spec.menuText), &window);
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
        QObject::connect(action, &QAction::triggered, &window,
                         [run = execute, id = spec.id] { run(id); });
        actions[spec.id] = action;
        if (spec.enabled != nullptr || spec.checked != nullptr) {
            states[spec.id] = CommandState{};
        }
    }
}

QMenu* CommandActions::CreateMenu(const QString& title, std::span<const int> items,
                                  QWidget* parent) {
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
    panes.WatchMenu(*menu);
    return menu;
}

void CommandActions::CreateMenuBar(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    for (const MenuSpec& spec : MainMenus()) {
        bar->addMenu(CreateMenu(QString::fromUtf8(spec.title), spec.items, bar));
    }
}

void CommandActions::CreateToolBar(QMainWindow& window) {
    auto* toolBar = new QToolBar(QStringLiteral("Toolbar"), &window);
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
    window.addToolBar(Qt::TopToolBarArea, toolBar);
}

void CommandActions::CreateShortcuts(QMainWindow& window) {
    // Window shortcuts, not action shortcuts: a disabled action would swallow its key, while
    // the keys must reach their handlers in every state.
    for (const CommandSpec& spec : CommandTable()) {
        if (spec.shortcut == nullptr) {
            continue;
        }
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)), &window);
        QObject::connect(shortcut, &QShortcut::activated, &window,
                         [run = execute, id = spec.id] { run(id); });
    }
}

QAction* CommandActions::Action(int commandId) const {
    const auto it = actions.find(commandId);
    return it == actions.end() ? nullptr : it->second;
}

void CommandActions::Refresh(std::initializer_list<int> commandIds) {
    const CommandContext now = context();
    for (const int id : commandIds) {
        ApplyRules(*FindCommand(id), now);
    }
}

void CommandActions::RefreshAll() {
    const CommandContext now = context();
    for (const CommandSpec& spec : CommandTable()) {
        ApplyRules(spec, now);
    }
    RefreshSelection();
}

void CommandActions::RefreshSelection() {
    const CommandContext now = context();
    for (const CommandSpec& spec : CommandTable()) {
        if (spec.followsSelection) {
            ApplyRules(spec, now);
        }
    }
}

void CommandActions::Restore(int commandId) {
    if (const auto it = states.find(commandId); it != states.end()) {
        SetState(commandId, it->second);
    }
}

void CommandActions::ApplyRules(const CommandSpec& spec, const CommandContext& now) {
    const auto it = states.find(spec.id);
    if (it == states.end()) {
        return;
    }
    CommandState state = it->second;
    if (spec.enabled != nullptr) {
        state.enabled = spec.enabled(now);
    }
    if (spec.checked != nullptr) {
        state.checked = spec.checked(now);
    }
    SetState(spec.id, state);
}

void CommandActions::SetState(int commandId, CommandState state) {
    states[commandId] = state;
    QAction* action = actions.at(commandId);
    action->setEnabled(state.enabled);
    action->setChecked(state.checked);
}

}  // namespace rizo
