// The main window: menus, toolbar, shortcut keys, command states, start-up and shut-down.
#pragma once

#include <QMainWindow>
#include <map>
#include <string>
#include <vector>

#include "engine/digest_engine.h"
#include "export/export_selection.h"
#include "settings/program_settings.h"
#include "ui/command_table.h"

class QMenu;

namespace rizo {

// The digests in the program's order; digest d has list column d + 1, toggle command
// kCmdHashMd5 + d and single-digest copy command kCmdCopyMd5 + d.
enum Digest : int { kDigestMd5, kDigestSha1, kDigestCrc32, kDigestSha256, kDigestCount };

class MainFrame : public QMainWindow {
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

    void RefreshCommandStates();
    void RefreshSelectionCommands();

    const ProgramSettings& Settings() const { return settings; }
    bool Busy() const { return busy; }

    // Command handlers. Those that must not act while a batch runs test busy themselves,
    // because shortcut keys reach them while their commands are disabled.
    void AddFiles();
    void AddFolder();
    void SelectAll();
    void SelectNone();
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
    QMenu* CreateMenu(const QString& title, std::span<const int> items, QWidget* parent);
    void CreateToolBar();
    void CreateShortcuts();
    void PlaceWindow();
    void ApplyDigestSelection();
    void ApplyDigest(Digest digest, bool on);
    void ApplyAlwaysOnTop();
    bool ConfirmClose();

    CommandContext Context() const;
    void ApplyRules(const CommandSpec& spec, const CommandContext& context);
    void SetCommandState(int commandId, CommandState state);
    void ShowPrompt(const QString& prompt);
    void EndPrompt();

    ProgramSettings settings;
    DigestEngine engine;
    int osClass = 1;
    bool busy = false;
    // Set once a close is accepted: worker messages still queued then reach no handler.
    bool closing = false;
    std::map<int, QAction*> actions;
    std::map<int, CommandState> states;
    QMenu* contextMenu = nullptr;
    // Menus currently open; status-bar prompts are shown only while one is.
    int openMenus = 0;
};

}  // namespace rizo
