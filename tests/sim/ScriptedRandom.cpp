#include "ScriptedRandom.h"

namespace brightsum::sim {

void ScriptedRandom::feed(std::initializer_list<double> draws) {
    m_script.insert(m_script.end(), draws.begin(), draws.end());
}

void ScriptedRandom::feed(const std::vector<double>& draws) {
    m_script.insert(m_script.end(), draws.begin(), draws.end());
}

void ScriptedRandom::reseed(double secondsSinceMidnight) {
    ++m_reseeds;
    m_lastReseed = secondsSinceMidnight;
    m_fallback.reseed(secondsSinceMidnight);
}

double ScriptedRandom::next() {
    ++m_draws;
    if (m_script.empty()) {
        return m_fallback.next();
    }
    const double draw = m_script.front();
    m_script.pop_front();
    return draw;
}

}  // namespace brightsum::sim
