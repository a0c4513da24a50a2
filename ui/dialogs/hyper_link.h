// SPDX-License-Identifier: MIT
// A web address shown as a link that opens it in the browser.
#pragma once

#include <QWidget>

#include "ui/dialogs/open_url.h"

namespace rizo {

// Draws its text (which is also the address) centred and wrapped in the dialog's font. Only the
// text's own rectangle reacts to the mouse; the link turns the visited colour after the first
// successful open and keeps it while the link lives. It takes the focus by click and by Tab, and
// screen readers see it as a link named by its address.
class HyperLink : public QWidget {
    Q_OBJECT

public:
    // Opens through ShellUtil::OpenUrl unless another opener is given.
    explicit HyperLink(const QString& address, QWidget* parent = nullptr);

    void SetOpener(UrlOpener replacement);
    QString Address() const { return address; }
    bool Hovered() const { return hovered; }
    QColor TextColor() const;
    // Where the text is drawn, in the link's coordinates.
    QRect TextRect() const;
    // Opens the address, as a click on the text does.
    void Open();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetHovered(bool on);

    QString address;
    UrlOpener opener;
    bool visited = false;
    bool hovered = false;
    bool pressed = false;
};

}  // namespace rizo
