// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimSound.h"

#include "SimDesktop.h"

#include <algorithm>

namespace brightsum::sim {

void SimSound::PlaySoundCue(const std::string& file, CueMode mode) {
    m_cues.push_back({file, mode});
    if (m_desktop == nullptr) {
        return;
    }
    m_desktop->note("cue " + file);
    if (mode == CueMode::Wait) {
        const auto it = m_lengths.find(file);
        m_desktop->block(it == m_lengths.end() ? 0.5 : it->second);
    }
}

int SimSound::count(const std::string& file) const {
    return static_cast<int>(std::count_if(m_cues.begin(), m_cues.end(),
                                          [&](const PlayedCue& cue) { return cue.file == file; }));
}

}  // namespace brightsum::sim
