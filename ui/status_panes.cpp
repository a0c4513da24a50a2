// The status bar's panes and menu prompts.
#include "ui/status_panes.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

namespace rizo {
namespace {

constexpr std::array<int, StatusPanes::kPanes> kPaneWidths = {80, 50, 350, 400};
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
    for (int pane = 0; pane < kPanes; ++pane) {
        auto* label = new QLabel(&bar);
        label->setObjectName(QStringLiteral("pane%1").arg(kPaneIds[pane]));
        label->setFixedWidth(kPaneWidths[pane]);
        label->setTextFormat(Qt::PlainText);
        bar.addWidget(label);
        panes[pane] = label;
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
    connect(&menu, &QMenu::hovered, this, [this](QAction* item) {
        ShowPrompt(item->menu() != nullptr ? QString() : item->statusTip());
    });
    // Moving from one menu of the bar to the next closes one menu as the other opens: look once
    // the event loop has settled.
    connect(&menu, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, &StatusPanes::EndPromptWhenMenusClosed); });
}

void StatusPanes::EndPromptWhenMenusClosed() {
    if (QApplication::activePopupWidget() == nullptr) {
        EndPrompt();
    }
}

}  // namespace rizo
