// SPDX-License-Identifier: MIT
// The taskbar entry's progress bar over D-Bus.
#include "ui/launcher_entry.h"

#include <QDBusMessage>
#include <QFileInfo>
#include <QString>
#include <algorithm>

namespace rizo {

namespace {

// The desktop file the entry belongs to, as installed.
constexpr char kApplicationUri[] = "application://rizodidiz.desktop";
constexpr char kObjectPath[] = "/com/canonical/unity/launcherentry/rizodidiz";

// Asking for the session bus where none is announced makes libdbus try to start one; a program
// run from a terminal without a desktop must not do that.
QDBusConnection AnnouncedSessionBus() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !QFileInfo::exists(runtime + QStringLiteral("/bus")))) {
        return QDBusConnection(QString());
    }
    return QDBusConnection::sessionBus();
}

}  // namespace

LauncherEntry::LauncherEntry() : LauncherEntry(AnnouncedSessionBus()) {}

LauncherEntry::LauncherEntry(QDBusConnection connection) : bus(std::move(connection)) {}

void LauncherEntry::ShowProgress(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (shown && fraction == shownFraction) {
        return;
    }
    shown = true;
    shownFraction = fraction;
    Send({{QStringLiteral("progress"), fraction}, {QStringLiteral("progress-visible"), true}});
}

void LauncherEntry::HideProgress() {
    if (!shown) {
        return;
    }
    shown = false;
    Send({{QStringLiteral("progress"), 0.0}, {QStringLiteral("progress-visible"), false}});
}

void LauncherEntry::Send(const QVariantMap& properties) {
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage update = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"));
    update << QString::fromLatin1(kApplicationUri) << properties;
    bus.send(update);
}

}  // namespace rizo
