#include "BoardButton.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace brightsum {

BoardButton::BoardButton(QWidget* parent) : QPushButton(parent) {}

void BoardButton::setColour(const QColor& colour) {
    if (colour == m_colour) {
        return;
    }
    m_colour = colour;
    update();
}

bool BoardButton::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    // The face covers every pixel, so nothing behind the button needs repainting with it: the
    // idle animation then redraws one button and no more. The style's polish clears the
    // attribute, so it is set once the button is polished.
    if (event->type() == QEvent::Polish) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    return handled;
}

void BoardButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush face(m_colour);
    const bool sunken = isDown();
    qDrawWinButton(&painter, rect(), palette(), sunken, &face);

    QRect textRect = rect().adjusted(2, 2, -2, -2);
    if (sunken) {
        textRect.translate(1, 1);
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignCenter, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        focus.backgroundColor = m_colour;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace brightsum
