// SPDX-License-Identifier: MIT
// The About box: program name, version, maker, licences and a link to the maker's home page.
#include "ui/dialogs/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QtGlobal>

#include "engine/openssl_digest_service.h"
#include "res/version.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/dialogs/hyper_link.h"
#include "ui/dialogs/web_links.h"

namespace rizo {
namespace {

constexpr const char* kAboutText =
    "Rizodidiz version " RIZO_VERSION
    "\n\nCopyright \u00A9 2026 Dodevovaze\nFree software under the MIT licence";

// The libraries' notices name the versions in use, which the system may update under the program.
QString CreditsText() {
    return QStringLiteral("Uses Qt %1 (LGPL-3.0)\nand OpenSSL %2 (Apache-2.0)")
        .arg(QString::fromLatin1(qVersion()), QString::fromStdString(OpenSslVersion()));
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    DialogTemplate layout(*this, QStringLiteral("About"), 241, 110);
    QPushButton* ok = layout.AddButton(QStringLiteral("OK"), 96, 89, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // After OK in the Tab order.
    link = layout.Place(new HyperLink(QString::fromUtf8(WebLinks::kMakerHome)), 57, 46, 127, 10);

    auto* text = layout.Place(new QLabel(QString::fromUtf8(kAboutText)), 42, 7, 155, 34);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setWordWrap(true);

    // Like an icon control, the box takes the icon's own size at the template's corner.
    auto* icon = layout.Place(new QLabel, 7, 9, 20, 20);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->resize(side, side);
    icon->setPixmap(windowIcon().pixmap(QSize(side, side), devicePixelRatio()));

    auto* credits = layout.Place(new QLabel(CreditsText()), 7, 62, 227, 18);
    credits->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    credits->setObjectName(QStringLiteral("credits"));
    layout.AddEtchedLine(7, 84, 227, 1);
    ok->setFocus(Qt::OtherFocusReason);
}

void ShowAboutDialog(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}

}  // namespace rizo
