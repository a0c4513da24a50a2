// SPDX-License-Identifier: MIT
// A web address shown as a link that opens it in the browser.
#include "ui/dialogs/hyper_link.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>

#include "ui/readable_text.h"

namespace rizo {
namespace {

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
const QColor kUnvisitedColour(0, 0, 255);
const QColor kVisitedColour(128, 0, 128);

// Tells screen readers that the link is a link, and lets them open it.
class HyperLinkAccessible : public QAccessibleWidget {
public:
    explicit HyperLinkAccessible(HyperLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            static_cast<HyperLink*>(widget())->Open();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(HyperLink::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new HyperLinkAccessible(static_cast<HyperLink*>(object));
    }
    return nullptr;
}

}  // namespace

HyperLink::HyperLink(const QString& text, QWidget* parent)
    : QWidget(parent),
      address(text),
      opener([](const std::string& url) { return ShellUtil::OpenUrl(url); }) {
    static const bool accessible = (QAccessible::installFactory(MakeAccessible), true);
    (void)accessible;
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setToolTip(address);
    setAccessibleName(address);
    setAccessibleDescription(QStringLiteral("Opens the page in the web browser"));
}

void HyperLink::SetOpener(UrlOpener replacement) {
    opener = std::move(replacement);
}

QColor HyperLink::TextColor() const {
    if (!isEnabled()) {
        return palette().color(QPalette::Disabled, QPalette::WindowText);
    }
    const QColor usual = visited ? kVisitedColour : kUnvisitedColour;
    // Blue and purple vanish on a dark theme's window; its own link colours are made for it.
    const uint32_t window = palette().color(QPalette::Window).rgb() & 0xFFFFFFu;
    if (ReadsWell(usual.rgb() & 0xFFFFFFu, window)) {
        return usual;
    }
    return palette().color(visited ? QPalette::LinkVisited : QPalette::Link);
}

QRect HyperLink::TextRect() const {
    return fontMetrics().boundingRect(rect(), kTextFlags, address);
}

bool HyperLink::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip &&
        !TextRect().contains(static_cast<QHelpEvent*>(event)->pos())) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void HyperLink::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont textFont = font();
    textFont.setUnderline(hovered);
    painter.setFont(textFont);
    painter.setPen(TextColor());
    painter.drawText(rect(), kTextFlags, address);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = TextRect();
        // A click gives the focus too; some styles draw no frame for a focus not given by keys.
        option.state |= QStyle::State_KeyboardFocusChange;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void HyperLink::mousePressEvent(QMouseEvent* event) {
    pressed = event->button() == Qt::LeftButton && TextRect().contains(event->position().toPoint());
    if (pressed) {
        setFocus(Qt::MouseFocusReason);
    }
}

void HyperLink::mouseMoveEvent(QMouseEvent* event) {
    SetHovered(TextRect().contains(event->position().toPoint()));
}

void HyperLink::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed;
    pressed = false;
    if (wasPressed && event->button() == Qt::LeftButton &&
        TextRect().contains(event->position().toPoint())) {
        Open();
    }
}

void HyperLink::leaveEvent(QEvent*) {
    SetHovered(false);
}

void HyperLink::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Open();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void HyperLink::Open() {
    if (opener(address.toStdString()) && !visited) {
        visited = true;
        update();
    }
}

void HyperLink::SetHovered(bool on) {
    if (on == hovered) {
        return;
    }
    hovered = on;
    if (on) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    update();
}

}  // namespace rizo
