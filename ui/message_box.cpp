// SPDX-License-Identifier: MIT
// The window's message boxes that it does not wait for.
#include "ui/message_box.h"

#include <QGridLayout>
#include <QMessageBox>

namespace rizo {

void ShowMessage(QWidget& owner, const QString& text, bool warning, const QString& title) {
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                title.isEmpty() ? QStringLiteral("Dodevovaze Rizodidiz") : title,
                                text, QMessageBox::Ok, &owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The box is as wide as its text; a short text would cut its title in the title bar. The
    // allowance is for the icon and buttons of the title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        const int titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle()) + 160;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box->open();
}

}  // namespace rizo
