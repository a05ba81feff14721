// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowLayout.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace brightsum::layout {

void installFace() {
    QFont::insertSubstitution(QString::fromLatin1(kFace), QString::fromLatin1(kFaceOnThisSystem));
}

QFont face(qreal points, bool bold) {
    QFont font(QString::fromLatin1(kFace));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    const int top = area.top() + (area.height() - outer.height()) / 2;
    const int left = area.left() + (area.width() - outer.width()) / 2;
    window->move(left, top);
}

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setButtonTextBlack(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    widget->setPalette(palette);
}

void paintFocusRing(QPainter& painter, const QRect& area, const QColor& outer,
                    const QColor& inner) {
    const auto band = [&painter](const QRect& box, const QColor& colour) {
        // Top, bottom, left, right: kFocusBand pixels each, inside the box.
        painter.fillRect(QRect(box.left(), box.top(), box.width(), kFocusBand), colour);
        painter.fillRect(QRect(box.left(), box.bottom() - kFocusBand + 1, box.width(), kFocusBand),
                         colour);
        painter.fillRect(QRect(box.left(), box.top(), kFocusBand, box.height()), colour);
        painter.fillRect(QRect(box.right() - kFocusBand + 1, box.top(), kFocusBand, box.height()),
                         colour);
    };
    band(area, outer);
    if (inner.isValid()) {
        band(area.adjusted(kFocusBand, kFocusBand, -kFocusBand, -kFocusBand), inner);
    }
}

}  // namespace brightsum::layout
