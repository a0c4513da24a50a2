// SPDX-License-Identifier: MIT
// The status bar's panes and menu prompts.
#include "ui/status_panes.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rizo {
namespace {

constexpr std::array<int, StatusPanes::kPanes> kPaneWidths = {80, 50, 350, 400};
// The widest count the file count pane usually shows: while it fits (with room for a character
// more) the panes keep their widths, and a larger font widens them all by as much as it needs.
constexpr char kWidestCount[] = "000000 files";
constexpr std::array<int, StatusPanes::kPanes> kPaneIds = {1300, 1301, 1302, 1303};

}  // namespace

std::string FileCountText(long rows) {
    if (rows == 0) {
        return {};
    }
    if (rows == 1) {
        return "1 file";
    }
    return std::to_string(rows) + " files";
}

std::string ProgressText(float lastProgress) {
    // Truncating lastProgress * 1000 gives a positive integer exactly when it is at least 1; the
    // comparison also keeps a NaN or a huge value from an undefined conversion to int.
    if (!(static_cast<double>(lastProgress) * 1000.0 >= 1.0)) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%3.1f%%", static_cast<double>(lastProgress));
    return text;
}

StatusPanes::StatusPanes(QStatusBar& statusBar) : QObject(&statusBar), bar(statusBar) {
    bar.setSizeGripEnabled(true);
    // The panes abut from the bar's left edge, so each ends where its width says: the bar's own
    // layout would put its spacing between them and a margin before the first.
    auto* row = new QWidget(&bar);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int pane = 0; pane < kPanes; ++pane) {
        auto* label = new QLabel(row);
        label->setObjectName(QStringLiteral("pane%1").arg(kPaneIds[pane]));
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
        panes[pane] = label;
    }
    bar.addWidget(row);
    FitWidths();
    row->installEventFilter(this);
}

void StatusPanes::FitWidths() {
    const QFontMetrics metrics = panes[kPaneCount]->fontMetrics();
    const int needed = metrics.horizontalAdvance(kWidestCount) + metrics.averageCharWidth();
    const double scale = std::max(1.0, static_cast<double>(needed) / kPaneWidths[kPaneCount]);
    for (int pane = 0; pane < kPanes; ++pane) {
        panes[pane]->setFixedWidth(static_cast<int>(std::ceil(kPaneWidths[pane] * scale)));
    }
}

void StatusPanes::SetPane(Pane pane, const std::string& text) {
    panes[pane]->setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

void StatusPanes::UpdateFileCount(long rows) {
    SetPane(kPaneCount, FileCountText(rows));
}

void StatusPanes::ShowProgress(float lastProgress, const std::string& name,
                               const std::string& folder) {
    SetPane(kPaneProgress, ProgressText(lastProgress));
    SetPane(kPaneName, name);
    SetPane(kPaneFolder, folder);
}

QString StatusPanes::PaneText(Pane pane) const {
    return panes[pane]->text();
}

bool StatusPanes::PanesVisible() const {
    return !panes[kPaneCount]->isHidden();
}

void StatusPanes::ShowPrompt(const QString& prompt) {
    if (!prompting) {
        prompting = true;
        for (QLabel* pane : panes) {
            pane->hide();
        }
    }
    bar.showMessage(prompt);
}

void StatusPanes::EndPrompt() {
    if (!prompting) {
        return;
    }
    prompting = false;
    bar.clearMessage();
    for (QLabel* pane : panes) {
        pane->show();
    }
}

void StatusPanes::WatchMenu(QMenu& menu) {
    // An action shared with the toolbar reports its hover to every menu holding it, also when the
    // pointer is on the toolbar button: only an open menu prompts.
    connect(&menu, &QMenu::hovered, this, [this, &menu](QAction* item) {
        if (menu.isVisible()) {
            ShowPrompt(PromptOf(item));
        }
    });
    // Moving from one menu of the bar to the next closes one menu as the other opens: look once
    // the event loop has settled.
    connect(&menu, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, &StatusPanes::EndPromptWhenMenusClosed); });
    menu.installEventFilter(this);
}

QString StatusPanes::PromptOf(const QAction* item) {
    if (item == nullptr || item->menu() != nullptr || item->isSeparator() || !item->isEnabled()) {
        return {};
    }
    return item->statusTip();
}

// The panes follow a change of font. The menu reports no hover for a greyed item or a separator,
// so the item under the pointer is looked at here, or the previous item's prompt would stay.
bool StatusPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FontChange && watched == panes[kPaneCount]->parent()) {
        FitWidths();
    } else if (event->type() == QEvent::MouseMove) {
        auto* menu = static_cast<QMenu*>(watched);
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (menu->rect().contains(at) && PromptOf(menu->actionAt(at)).isEmpty()) {
            ShowPrompt(QString());
        }
    }
    return QObject::eventFilter(watched, event);
}

void StatusPanes::EndPromptWhenMenusClosed() {
    if (QApplication::activePopupWidget() == nullptr) {
        EndPrompt();
    }
}

}  // namespace rizo
