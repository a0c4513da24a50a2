// SPDX-License-Identifier: MIT
// Builds a fixed-size dialog from a template laid out in dialog units of the dialog font.
#include "ui/dialogs/dialog_template.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QPushButton>
#include <algorithm>

namespace rizo {
namespace {

// Rounds value * numerator / denominator to the nearest integer, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

QFont DialogFont() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        return QFont(QStringLiteral("Tahoma"), 8, QFont::Normal);
    }
    return QApplication::font("QDialog");
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width is taken over both alphabets and rounded, as the templates' platform does.
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX = std::max(1, (alphabetWidth / 26 + 1) / 2);
    baseY = std::max(1, metrics.height());
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(ScaleRounded(x, baseX, 4), ScaleRounded(y, baseY, 8),
                 ScaleRounded(width, baseX, 4), ScaleRounded(height, baseY, 8));
}

DialogTemplate::DialogTemplate(QDialog& owner, const QString& title, int width, int height)
    : dialog(owner), units(DialogFont()) {
    dialog.setFont(DialogFont());
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(units.ToPixels(0, 0, width, height).size());
}

QPushButton* DialogTemplate::AddButton(const QString& text, int x, int y, int width, int height) {
    return Place(new QPushButton(text, &dialog), x, y, width, height);
}

QFrame* DialogTemplate::AddEtchedLine(int x, int y, int width, int height) {
    auto* line = new QFrame(&dialog);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    // A sunken line needs two pixel rows, whatever one unit comes to.
    PlaceWidget(line, x, y, width, height);
    line->setFixedHeight(std::max(2, line->height()));
    return line;
}

void DialogTemplate::PlaceWidget(QWidget* widget, int x, int y, int width, int height) {
    widget->setParent(&dialog);
    widget->setGeometry(units.ToPixels(x, y, width, height));
}

}  // namespace rizo
