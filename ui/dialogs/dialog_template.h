// SPDX-License-Identifier: MIT
// Builds a fixed-size dialog from a template laid out in dialog units of the dialog font.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QFrame;
class QPushButton;
class QWidget;

namespace rizo {

// Tahoma 8 point where installed (the font our templates were drawn with), the system dialog font
// otherwise.
QFont DialogFont();

// Converts dialog units to pixels: a horizontal unit is a quarter of the font's average character
// width and a vertical unit an eighth of its height, so templates scale with the font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QRect ToPixels(int x, int y, int width, int height) const;
    int BaseX() const { return baseX; }
    int BaseY() const { return baseY; }

private:
    int baseX;
    int baseY;
};

// Gives a dialog its title, font, fixed size and frame, and places its controls.
class DialogTemplate {
public:
    DialogTemplate(QDialog& dialog, const QString& title, int width, int height);

    // Places a child of the dialog; the template order of the calls is the Tab order.
    template <class Widget>
    Widget* Place(Widget* widget, int x, int y, int width, int height) {
        PlaceWidget(widget, x, y, width, height);
        return widget;
    }
    QPushButton* AddButton(const QString& text, int x, int y, int width, int height);
    QFrame* AddEtchedLine(int x, int y, int width, int height);

private:
    void PlaceWidget(QWidget* widget, int x, int y, int width, int height);

    QDialog& dialog;
    DialogUnits units;
};

}  // namespace rizo
