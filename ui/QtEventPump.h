// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EventPump.h"

namespace brightsum {

class ClockPort;

// Runs the Qt event loop inside the game's pauses. It sleeps in the event dispatcher until
// an event arrives or a precise timer wakes it at the deadline, so a pause costs no CPU.
class QtEventPump final : public EventPump {
public:
    explicit QtEventPump(const ClockPort& clock) : m_clock(clock) {}

    void processEventsUntil(double monotonicDeadline) override;

private:
    const ClockPort& m_clock;
};

}  // namespace brightsum
