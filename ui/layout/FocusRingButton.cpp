// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusRingButton.h"

#include "WindowLayout.h"

#include <QPainter>

namespace brightsum {

FocusRingButton::FocusRingButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void FocusRingButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter painter(this);
    // Inside the style's frame, clear of the caption.
    layout::paintFocusRing(painter, rect().adjusted(2, 2, -2, -2),
                           palette().color(QPalette::ButtonText), QColor());
}

}  // namespace brightsum
