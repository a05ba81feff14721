// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkLabel.h"

#include <QMouseEvent>

namespace brightsum {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    // Movements without a pressed button must arrive too.
    setMouseTracking(true);
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace brightsum
