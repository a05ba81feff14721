// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundPort.h"

#include <map>
#include <string>
#include <vector>

namespace brightsum::sim {

class SimDesktop;

struct PlayedCue {
    std::string file;
    CueMode mode = CueMode::Async;

    friend bool operator==(const PlayedCue&, const PlayedCue&) = default;
};

// Records every cue. On the simulated desktop a waited cue holds up the thread for its
// length: virtual time moves on and nothing is dispatched meanwhile. Made without a desktop,
// it only records (for tests of the real windows).
class SimSound final : public SoundPort {
public:
    SimSound() = default;
    explicit SimSound(SimDesktop& desktop) : m_desktop(&desktop) {}

    void PlaySoundCue(const std::string& file, CueMode mode) override;

    void setLength(const std::string& file, double seconds) { m_lengths[file] = seconds; }
    const std::vector<PlayedCue>& cues() const { return m_cues; }
    int count(const std::string& file) const;

private:
    SimDesktop* m_desktop = nullptr;
    // Only the waited cue's length matters to the game; the shipped one is this short.
    std::map<std::string, double> m_lengths{{"select.wav", 0.08}};
    std::vector<PlayedCue> m_cues;
};

}  // namespace brightsum::sim
