// SPDX-License-Identifier: GPL-3.0-or-later
#include "SplitMixRandom.h"

#include <bit>
#include <chrono>
#include <random>

namespace brightsum {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

SplitMixRandom::SplitMixRandom() {
    std::random_device device;
    const auto entropy = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    m_state = mix(entropy ^ mix(ticks));
}

void SplitMixRandom::reseed(double secondsSinceMidnight) {
    // The state has moved on since the last reseed (and moves again here), so the same
    // reading never brings back the same sequence.
    m_state = mix(m_state + kGolden) ^ mix(std::bit_cast<std::uint64_t>(secondsSinceMidnight));
}

double SplitMixRandom::next() {
    m_state += kGolden;
    return static_cast<double>(mix(m_state) >> 11) * 0x1.0p-53;
}

}  // namespace brightsum
