// SPDX-License-Identifier: MIT
// The command vocabulary as data: menu texts, prompts, tooltips, images, keys, handlers and rules.
#pragma once

#include <span>

namespace rizo {

class MainFrame;
struct ProgramSettings;

// What the enabling and checking rules look at.
struct CommandContext {
    bool busy = false;
    int rows = 0;
    int selected = 0;
    // Rows that carry a failure.
    int failed = 0;
    const ProgramSettings* settings = nullptr;
    int osClass = 1;
};

using CommandRule = bool (*)(const CommandContext&);
using CommandHandler = void (*)(MainFrame&);

// A command without rules is always enabled and never checked; the others form the state
// table that RefreshCommandStates recomputes.
struct CommandSpec {
    int id;
    // The item's own text; the shortcut is shown beside it at the right edge of the menu.
    const char* menuText;
    // Shown in the status bar while the item is highlighted in a menu; "" for none.
    const char* prompt;
    const char* toolTip;
    // Resource path of the toolbar image, also drawn beside the menu item; nullptr for none.
    const char* image;
    // Key that reaches the handler even while the command is disabled; nullptr for none.
    const char* shortcut;
    CommandHandler handler;
    CommandRule enabled;
    CommandRule checked;
    // Recomputed by RefreshSelectionCommands as well.
    bool followsSelection;
};

std::span<const CommandSpec> CommandTable();
// nullptr for an identifier that is not in the table.
const CommandSpec* FindCommand(int id);

// Entries of the menu and toolbar layouts besides command identifiers.
inline constexpr int kSeparator = 0;
inline constexpr int kHashTypeSubmenu = -1;

struct MenuSpec {
    const char* title;
    std::span<const int> items;
};

std::span<const MenuSpec> MainMenus();
std::span<const int> HashTypeMenu();
std::span<const int> ContextMenuItems();
std::span<const int> ToolbarButtons();

}  // namespace rizo
