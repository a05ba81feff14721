// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeldKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace brightsum {

bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return false;
    }
    // Key events reach the window's handle first, then the widget with the focus; the
    // widget decides.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    QWidget* window = widget->window();
    if (!key->isAutoRepeat()) {
        if (type == QEvent::KeyPress) {
            m_pressedIn.insert(key->key(), window);
        } else if (type == QEvent::KeyRelease) {
            m_pressedIn.remove(key->key());
        }
        return false;
    }
    if (m_pressedIn.value(key->key()) == window) {
        return false;
    }
    // Accepting the override keeps the window's shortcuts (Escape closing it) from the key.
    key->accept();
    return true;
}

}  // namespace brightsum
