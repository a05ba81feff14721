// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundPort.h"

namespace brightsum {

// Passes every cue on to another sound port and marks, through trace::mark, when it starts
// and, for a waited cue, when the wait is over.
class TracingSoundPort final : public SoundPort {
public:
    explicit TracingSoundPort(SoundPort& sound) : m_sound(sound) {}

    void PlaySoundCue(Cue cue, CueMode mode) override;

private:
    SoundPort& m_sound;
};

}  // namespace brightsum
