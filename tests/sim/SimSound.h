// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundPort.h"

#include <map>
#include <string>
#include <vector>

namespace brightsum::sim {

class SimDesktop;

struct PlayedCue {
    Cue cue = Cue::Select;
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

    void PlaySoundCue(Cue cue, CueMode mode) override;

    void setLength(Cue cue, double seconds) { m_lengths[cue] = seconds; }
    const std::vector<PlayedCue>& cues() const { return m_cues; }
    int count(Cue cue) const;

    // How the trace writes a cue: "cue good.wav".
    static std::string note(Cue cue) { return "cue " + std::string(cueFile(cue)); }

private:
    SimDesktop* m_desktop = nullptr;
    // Only the waited cue's length matters to the game; the shipped one is this short.
    std::map<Cue, double> m_lengths{{Cue::Select, 0.08}};
    std::vector<PlayedCue> m_cues;
};

}  // namespace brightsum::sim
