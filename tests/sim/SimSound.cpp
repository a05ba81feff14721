#include "SimSound.h"

#include <algorithm>

#include "SimDesktop.h"

namespace brightsum::sim {

SimSound::SimSound(SimDesktop& desktop) : m_desktop(desktop) {
    // The shipped cues are about this long; only the waited one matters to the game.
    m_lengths = {{"select.wav", 0.08}, {"good.wav", 0.6},   {"bad.wav", 0.5},
                 {"timeup.wav", 0.8},  {"finish.wav", 1.5}, {"hiscore.wav", 2.5},
                 {"showhi.wav", 0.9}};
}

double SimSound::length(const std::string& file) const {
    const auto it = m_lengths.find(file);
    return it == m_lengths.end() ? 0.5 : it->second;
}

void SimSound::PlaySoundCue(const std::string& file, CueMode mode) {
    m_cues.push_back({m_desktop.now(), file, mode});
    m_desktop.note("cue " + file);
    if (mode == CueMode::Wait) {
        m_desktop.block(length(file));
    }
}

std::vector<std::string> SimSound::files() const {
    std::vector<std::string> result;
    result.reserve(m_cues.size());
    for (const PlayedCue& cue : m_cues) {
        result.push_back(cue.file);
    }
    return result;
}

int SimSound::count(const std::string& file) const {
    return static_cast<int>(std::count_if(m_cues.begin(), m_cues.end(),
                                          [&](const PlayedCue& cue) { return cue.file == file; }));
}

}  // namespace brightsum::sim
