// SPDX-License-Identifier: MIT
// Opens a web address in the user's browser.
#include "ui/dialogs/open_url.h"

#include <QDesktopServices>
#include <QProcess>

namespace rizo {

UrlOpenAttempts UrlOpenAttempts::System() {
    return {[](const QUrl& url) { return QDesktopServices::openUrl(url); },
            [](const QString& program, const QStringList& arguments) {
                return QProcess::startDetached(program, arguments);
            }};
}

bool ShellUtil::OpenUrl(const std::string& address, const UrlOpenAttempts& attempts) {
    const QUrl url(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())),
                   QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        return false;
    }
    if (attempts.desktop(url)) {
        return true;
    }
    // Debian's alternatives entry for whichever browser the system prefers.
    return attempts.launch(QStringLiteral("x-www-browser"), {url.toString(QUrl::FullyEncoded)});
}

}  // namespace rizo
