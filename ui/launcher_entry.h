// SPDX-License-Identifier: MIT
// The taskbar entry's progress bar, through the launcher-entry signal that docks and task
// managers (KDE Plasma, GNOME's docks) listen for.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

namespace rizo {

class LauncherEntry {
public:
    // The session bus when this session has one; without it every call does nothing.
    LauncherEntry();
    explicit LauncherEntry(QDBusConnection connection);
    // A dock keeps showing a progress bar nobody ends.
    ~LauncherEntry() { HideProgress(); }
    LauncherEntry(const LauncherEntry&) = delete;
    LauncherEntry& operator=(const LauncherEntry&) = delete;

    // `fraction` from 0 to 1.
    void ShowProgress(double fraction);
    void HideProgress();

private:
    void Send(const QVariantMap& properties);

    QDBusConnection bus;
    bool shown = false;
    double shownFraction = 0;
};

}  // namespace rizo
