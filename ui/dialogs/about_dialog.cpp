// SPDX-License-Identifier: MIT
// The About box: program name, version, maker and a link to the maker's home page.
#include "ui/dialogs/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "res/version.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/dialogs/hyper_link.h"
#include "ui/dialogs/web_links.h"

namespace rizo {
namespace {

constexpr const char* kAboutText =
    "Rizodidiz version " RIZO_VERSION "\n\nCopyright \u00A9 2026 Dodevovaze";

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    DialogTemplate layout(*this, QStringLiteral("About"), 241, 84);
    QPushButton* ok = layout.AddButton(QStringLiteral("OK"), 96, 63, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = layout.Place(new QLabel(QString::fromUtf8(kAboutText)), 42, 7, 155, 26);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setWordWrap(true);

    // Like an icon control, the box takes the icon's own size at the template's corner.
    auto* icon = layout.Place(new QLabel, 7, 9, 20, 20);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->resize(side, side);
    icon->setPixmap(windowIcon().pixmap(QSize(side, side), devicePixelRatio()));

    link = layout.Place(new HyperLink(QString::fromUtf8(WebLinks::kMakerHome)), 57, 40, 127, 10);
    layout.AddEtchedLine(7, 58, 227, 1);
    ok->setFocus(Qt::OtherFocusReason);
}

void ShowAboutDialog(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}

}  // namespace rizo
