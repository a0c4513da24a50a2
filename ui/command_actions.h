// SPDX-License-Identifier: MIT
// The window's commands as actions: the menu bar, the list's context menu, the toolbar and the
// shortcut keys made from the command table, each action enabled and checked as the table's rules
// say.
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <span>

#include "ui/command_table.h"

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace rizo {

class StatusPanes;

class CommandActions {
public:
    // Adds the menu bar, toolbar and keys to `window`, whose children the actions are; every menu
    // shows its prompts in `panes`. `execute` runs a command as its menu item, button and key do;
    // `context` is what the rules look at.
    CommandActions(QMainWindow& window, StatusPanes& panes, std::function<void(int)> execute,
                   std::function<CommandContext()> context);

    // nullptr for an unknown identifier.
    QAction* Action(int commandId) const;
    QMenu& ContextMenu() const { return *contextMenu; }

    // Applies the rules of the commands `commandIds`, of all commands, or of those that follow
    // the selection.
    void Refresh(std::initializer_list<int> commandIds);
    void RefreshAll();
    void RefreshSelection();
    // Shows a command's state again after its handler ran: a checkable action flips itself when
    // clicked, while the table decides what it shows.
    void Restore(int commandId);

private:
    struct CommandState {
        bool enabled = true;
        bool checked = false;
    };

    void CreateActions(QMainWindow& window);
    QMenu* CreateMenu(const QString& title, std::span<const int> items, QWidget* parent);
    void CreateMenuBar(QMainWindow& window);
    void CreateToolBar(QMainWindow& window);
    void CreateShortcuts(QMainWindow& window);
    void ApplyRules(const CommandSpec& spec, const CommandContext& context);
    void SetState(int commandId, CommandState state);

    StatusPanes& panes;
    std::function<void(int)> execute;
    std::function<CommandContext()> context;
    std::map<int, QAction*> actions;
    std::map<int, CommandState> states;
    QMenu* contextMenu = nullptr;
};

}  // namespace rizo
