// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimSound.h"

#include "SimDesktop.h"

#include <algorithm>

namespace brightsum::sim {

void SimSound::PlaySoundCue(Cue cue, CueMode mode) {
    m_cues.push_back({cue, mode});
    if (m_desktop == nullptr) {
        return;
    }
    m_desktop->note(note(cue));
    if (mode == CueMode::Wait) {
        const auto it = m_lengths.find(cue);
        m_desktop->block(it == m_lengths.end() ? 0.5 : it->second);
    }
}

int SimSound::count(Cue cue) const {
    return static_cast<int>(std::count_if(
        m_cues.begin(), m_cues.end(), [&](const PlayedCue& played) { return played.cue == cue; }));
}

}  // namespace brightsum::sim
