// SPDX-License-Identifier: MIT
// The program's own images: the application icon and the toolbar images, drawn from SVG.
#pragma once

#include <QIcon>

namespace rizo {

// The application icon in 48, 32 and 24 pixels.
QIcon ApplicationIcon();

// A 24-pixel toolbar image, also rendered at the menus' 16 pixels so neither is scaled.
QIcon ToolbarImage(const char* resourcePath);

}  // namespace rizo
