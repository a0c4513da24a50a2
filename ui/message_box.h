// SPDX-License-Identifier: MIT
// The window's message boxes that it does not wait for.
#pragma once

#include <QString>

class QWidget;

namespace rizo {

// An information or warning box owned by `owner` and not waited for, so it stays up however long
// the user is away; titled with the program's name unless `title`.
void ShowMessage(QWidget& owner, const QString& text, bool warning, const QString& title = {});

}  // namespace rizo
