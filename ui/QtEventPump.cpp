// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtEventPump.h"

#include "ClockPort.h"

#include <QCoreApplication>
#include <QTimer>

#include <cmath>

namespace brightsum {

void QtEventPump::processEventsUntil(double monotonicDeadline) {
    const double remaining = monotonicDeadline - m_clock.monotonicSeconds();
    if (remaining <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A timer of its own for each call: a handler dispatched below may pause as well and
    // must not move or stop this call's wake-up.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(static_cast<int>(std::ceil(remaining * 1000.0)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace brightsum
