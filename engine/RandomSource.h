// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace brightsum {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Mixes a time of day into the current state; two reseeds with the same value still
    // lead to different draws.
    virtual void reseed(double secondsSinceMidnight) = 0;
    // A fraction uniform in [0, 1).
    virtual double next() = 0;
};

}  // namespace brightsum
