// SPDX-License-Identifier: GPL-3.0-or-later
#include "TraceEventFilter.h"

#include "BoardButton.h"
#include "MainWindow.h"
#include "TraceLog.h"

#include <QEvent>
#include <QTimer>

namespace brightsum {

TraceEventFilter::TraceEventFilter(const MainWindow& window, QObject* parent)
    : QObject(parent), m_window(window) {}

bool TraceEventFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Paint:
            if (!m_painted && watched->isWidgetType() &&
                static_cast<QWidget*>(watched)->window() == &m_window) {
                m_painted = true;
                trace::mark("first-paint",
                            QStringLiteral("cpu=%1").arg(trace::processCpuNanoseconds()));
            }
            if (m_pressed && watched == m_pressed.data() &&
                m_pressed->colour() == MainWindow::paletteColour(kLightGreen)) {
                trace::mark("paint-green", m_pressed->objectName());
                m_pressed.clear();
            }
            break;
        case QEvent::MouseButtonPress:
            if (auto* button = qobject_cast<BoardButton*>(watched)) {
                m_pressed = button;
                trace::mark("press", button->objectName());
            }
            break;
        case QEvent::FocusIn:
            if (auto* button = qobject_cast<BoardButton*>(watched)) {
                trace::mark("focus", button->objectName());
            }
            break;
        case QEvent::Timer:
            if (watched == m_window.timer(Timer::tmrPoints)) {
                trace::mark("tick");
            } else if (watched == m_window.timer(Timer::tmrCounter)) {
                trace::mark("timeout");
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace brightsum
