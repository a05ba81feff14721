#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

#include "RandomSource.h"
#include "SplitMixRandom.h"

namespace brightsum::sim {

// Hands out fed draws first, in order, and the game's own generator (seeded, so a run is
// repeatable) once they run out. Reseeds reach that generator but never the fed draws.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::uint64_t seed) : m_fallback(seed) {}

    void feed(std::initializer_list<double> draws);
    void feed(const std::vector<double>& draws);
    // The draws fed and not used yet.
    std::size_t pending() const { return m_script.size(); }

    void reseed(double secondsSinceMidnight) override;
    double next() override;

    int reseeds() const { return m_reseeds; }
    double lastReseed() const { return m_lastReseed; }
    std::size_t draws() const { return m_draws; }

private:
    SplitMixRandom m_fallback;
    std::deque<double> m_script;
    int m_reseeds = 0;
    double m_lastReseed = 0;
    std::size_t m_draws = 0;
};

}  // namespace brightsum::sim
