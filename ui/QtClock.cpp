// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtClock.h"

#include <QTime>

namespace brightsum {

QtClock::QtClock() {
    m_sinceStart.start();
}

double QtClock::secondsSinceMidnight() const {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

double QtClock::monotonicSeconds() const {
    return static_cast<double>(m_sinceStart.nsecsElapsed()) / 1e9;
}

}  // namespace brightsum
