// SPDX-License-Identifier: MIT
// Renders the SVG images once per size, so no icon-engine plugin is needed at run time.
#include "ui/images.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <initializer_list>

namespace rizo {
namespace {

QIcon RenderIcon(const QString& path, std::initializer_list<int> sizes) {
    QSvgRenderer renderer(path);
    QIcon icon;
    for (const int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon ApplicationIcon() {
    return RenderIcon(QStringLiteral(":/rizodidiz.svg"), {48, 32, 24});
}

QIcon ToolbarImage(const char* resourcePath) {
    return RenderIcon(QString::fromLatin1(resourcePath), {24, 16});
}

}  // namespace rizo
