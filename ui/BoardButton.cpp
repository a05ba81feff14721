#include "BoardButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace brightsum {

BoardButton::BoardButton(QWidget* parent) : QPushButton(parent) {
    // The face covers every pixel, so nothing behind the button is repainted with it: the
    // idle animation then redraws one button and no more.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardButton::setColour(const QColor& colour) {
    if (colour == m_colour) {
        return;
    }
    m_colour = colour;
    update();
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
