// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

namespace brightsum {

class BoardButton;
class MainWindow;

// Watches the whole application's events and marks, through trace::mark, the main window's
// first paint, every tick of the two question timers, and each board button pressed and then
// painted in its new colour. Installed only while tracing.
class TraceEventFilter final : public QObject {
    Q_OBJECT
public:
    explicit TraceEventFilter(const MainWindow& window, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const MainWindow& m_window;
    bool m_painted = false;
    QPointer<BoardButton> m_pressed;
};

}  // namespace brightsum
