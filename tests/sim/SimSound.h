#pragma once

#include <map>
#include <string>
#include <vector>

#include "SoundPort.h"

namespace brightsum::sim {

class SimDesktop;

struct PlayedCue {
    double time = 0;
    std::string file;
    CueMode mode = CueMode::Async;
};

// Records every cue. A waited cue holds up the thread for its length: virtual time moves on
// and nothing is dispatched meanwhile.
class SimSound final : public SoundPort {
public:
    explicit SimSound(SimDesktop& desktop);

    void PlaySoundCue(const std::string& file, CueMode mode) override;

    void setLength(const std::string& file, double seconds) { m_lengths[file] = seconds; }
    double length(const std::string& file) const;

    const std::vector<PlayedCue>& cues() const { return m_cues; }
    std::vector<std::string> files() const;
    int count(const std::string& file) const;
    void clear() { m_cues.clear(); }

private:
    SimDesktop& m_desktop;
    std::map<std::string, double> m_lengths;
    std::vector<PlayedCue> m_cues;
};

}  // namespace brightsum::sim
