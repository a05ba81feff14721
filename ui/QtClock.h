// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClockPort.h"

#include <QElapsedTimer>

namespace brightsum {

// The local time of day and a monotonic clock, from Qt.
class QtClock final : public ClockPort {
public:
    QtClock();

    double secondsSinceMidnight() const override;
    double monotonicSeconds() const override;

private:
    QElapsedTimer m_sinceStart;
};

}  // namespace brightsum
