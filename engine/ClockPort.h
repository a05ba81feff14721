// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace brightsum {

class ClockPort {
public:
    virtual ~ClockPort() = default;
    // Local time of day in seconds, for reseeding the random generator.
    virtual double secondsSinceMidnight() const = 0;
    // A clock that never jumps, in seconds from an arbitrary origin, for pauses.
    virtual double monotonicSeconds() const = 0;
};

}  // namespace brightsum
