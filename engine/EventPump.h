// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace brightsum {

class EventPump {
public:
    virtual ~EventPump() = default;
    // Dispatches pending events; when there are none, blocks until one arrives or the
    // monotonic clock reaches the deadline. Never spins.
    virtual void processEventsUntil(double monotonicDeadline) = 0;
};

}  // namespace brightsum
