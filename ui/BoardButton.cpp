// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardButton.h"

#include "WindowLayout.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace brightsum {

BoardButton::BoardButton(QWidget* parent) : QPushButton(parent) {
    layout::setButtonTextBlack(this);
}

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

void BoardButton::keyPressEvent(QKeyEvent* event) {
    // A push button outside a dialog leaves Return and Enter to its window; on the board they
    // pick the button as Space does. click() emits pressed, released and clicked before it
    // returns, as Space's release does, so the pick is judged at once.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
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
        // Black shows on green and white, white on blue; each band is two pixels wide.
        layout::paintFocusRing(painter, rect().adjusted(2, 2, -2, -2), Qt::black, Qt::white);
    }
}

}  // namespace brightsum
