// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RandomSource.h"
#include "SplitMixRandom.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace brightsum::sim {

// Hands out fed draws first, in order, and the game's own generator (seeded, so a run is
// repeatable) once they run out. Reseeds reach that generator but never the fed draws.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::uint64_t seed) : m_fallback(seed) {}

    void feed(const std::vector<double>& draws) {
        m_script.insert(m_script.end(), draws.begin(), draws.end());
    }
    // The draws fed and not used yet.
    std::size_t pending() const { return m_script.size(); }
    std::size_t draws() const { return m_draws; }
    double lastReseed() const { return m_lastReseed; }

    void reseed(double secondsSinceMidnight) override {
        m_lastReseed = secondsSinceMidnight;
        m_fallback.reseed(secondsSinceMidnight);
    }

    double next() override {
        ++m_draws;
        if (m_script.empty()) {
            return m_fallback.next();
        }
        const double draw = m_script.front();
        m_script.pop_front();
        return draw;
    }

private:
    SplitMixRandom m_fallback;
    std::deque<double> m_script;
    double m_lastReseed = 0;
    std::size_t m_draws = 0;
};

}  // namespace brightsum::sim
