// SPDX-License-Identifier: MIT
// The main window: its bars, list and panes, the command handlers, start-up and shut-down.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "export/export_selection.h"
#include "settings/program_settings.h"
#include "ui/batch_view.h"
#include "ui/command_table.h"
#include "ui/dialogs/open_url.h"

namespace rizo {

class CommandActions;
class SortListView;
class StatusPanes;
class VerifyFlow;

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

    // Applies the command table's rules to every command, or to those that follow the selection.
    void RefreshCommandStates();
    void RefreshSelectionCommands();

    const ProgramSettings& Settings() const { return settings; }
    // Hashing, or collecting the files of a folder to hash.
    bool Busy() const { return batch->Busy(); }
    SortListView& List() { return *list; }
    StatusPanes& Panes() { return *panes; }
    BatchWorker& Worker() { return batch->Worker(); }

    void UpdateFileCount();
    // Pops up the list's context menu at a screen point, pulled back onto the nearest screen.
    void ShowContextMenu(QPoint point);

    // Command handlers. Those that must not act while a batch runs test busy themselves,
    // because shortcut keys reach them while their commands are disabled.
    void AddFiles();
    void AddFolder();
    void VerifyChecksumFile();
    // Verifies a chosen checksum file and audits its folder; see VerifyFlow::Start.
    void AuditFolder();
    // Verifies the files that `checksumFiles` list; see VerifyFlow::Start.
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
    void CreateFileList();
    void PlaceWindow();
    void ApplyDigestSelection();
    void ApplyDigest(Digest digest, bool on);
    // Switches on those of `digests` that are off.
    void SwitchOn(const HashSelection& digests);
    void ApplyAlwaysOnTop();
    bool ConfirmClose();
    // Dialogs are owned by the active window, normally this one.
    QWidget* DialogOwner();

    // What the command table's rules look at.
    CommandContext Context() const;
    // The batches, made once the list is; and the verifications, which hand theirs to it.
    void CreateBatchView();

    ProgramSettings settings;
    int osClass = 1;
    std::unique_ptr<BatchView> batch;
    std::unique_ptr<VerifyFlow> verify;
    StatusPanes* panes = nullptr;
    std::unique_ptr<CommandActions> commands;
    SortListView* list = nullptr;
    UrlOpener urlOpener = [](const std::string& address) { return ShellUtil::OpenUrl(address); };
};

}  // namespace rizo
