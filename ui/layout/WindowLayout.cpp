// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowLayout.h"

#include <QGuiApplication>
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
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace brightsum::layout
