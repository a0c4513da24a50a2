// SPDX-License-Identifier: MIT
// The status bar's four panes (file count, progress, file name, folder), of fixed widths that
// grow with a large font, and the menu prompt that takes their place while a menu is open.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;

namespace rizo {

// Pane texts.
std::string FileCountText(long rows);
// The progress of the current file as "42.5%"; empty below a thousandth of a percent.
std::string ProgressText(float lastProgress);

class StatusPanes : public QObject {
    Q_OBJECT

public:
    enum Pane { kPaneCount, kPaneProgress, kPaneName, kPaneFolder, kPanes };

    // Adds the panes, all empty, to `bar` and switches its size grip on.
    explicit StatusPanes(QStatusBar& bar);

    void UpdateFileCount(long rows);
    void ShowProgress(float lastProgress, const std::string& name, const std::string& folder);
    QString PaneText(Pane pane) const;
    bool PanesVisible() const;

    // One text across the bar in place of the panes (an empty prompt leaves the bar empty).
    void ShowPrompt(const QString& prompt);
    // The panes come back with the texts they held.
    void EndPrompt();
    // While `menu` is open, shows the status tip of its highlighted item as the prompt (a greyed
    // item, a separator and an item that opens a submenu have none) and ends it when the last
    // open menu closes.
    void WatchMenu(QMenu& menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QString PromptOf(const QAction* item);
    // The widths the pane table gives, widened alike where the font needs more.
    void FitWidths();
    void SetPane(Pane pane, const std::string& text);
    void EndPromptWhenMenusClosed();

    QStatusBar& bar;
    std::array<QLabel*, kPanes> panes{};
    bool prompting = false;
};

}  // namespace rizo
