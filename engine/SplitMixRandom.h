// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RandomSource.h"

#include <cstdint>

namespace brightsum {

// The game's generator: splitmix64, whose every output is a fresh 64-bit hash of a counter,
// turned into 53-bit fractions. A reseed hashes the time into the current state instead of
// replacing it, so two reseeds at the same clock reading still lead to different questions.
class SplitMixRandom final : public RandomSource {
public:
    // Seeded from the system's entropy source and the clocks.
    SplitMixRandom();
    explicit SplitMixRandom(std::uint64_t seed) : m_state(seed) {}

    void reseed(double secondsSinceMidnight) override;
    double next() override;

private:
    std::uint64_t m_state;
};

}  // namespace brightsum
