// SPDX-License-Identifier: MIT
// Which of Qt's platforms can show the window, decided before QApplication exists: Qt aborts the
// program when none of the platforms it tries can be started.
#pragma once

#include <functional>
#include <string>

namespace rizo {

// Each check tries to open its display as the platform would; it returns why it cannot, or ""
// when it can.
struct DisplayChecks {
    // A Wayland compositor answers at WAYLAND_DISPLAY and Qt's Wayland platform is installed.
    std::function<std::string()> wayland;
    // An X server answers at DISPLAY.
    std::function<std::string()> x11;
};

DisplayChecks SystemDisplayChecks();

struct PlatformChoice {
    // The platforms for QT_QPA_PLATFORM, in the order Qt is to try them, ';' between them; empty
    // when none can show a window.
    std::string platforms;
    // Why the displays tried cannot be used, one line each.
    std::string reasons;
};

// `requested` is the user's platform list (-platform or QT_QPA_PLATFORM), "" for none: its
// Wayland and X11 entries whose display cannot be opened are dropped, other platforms (offscreen,
// vnc...) are kept. Without a request Wayland comes first and X11 (through XWayland, say) after
// it, except in an X11 session (XDG_SESSION_TYPE `sessionType`), where X11 comes first.
PlatformChoice ChoosePlatforms(const std::string& requested, const std::string& sessionType,
                               const DisplayChecks& checks);

}  // namespace rizo
