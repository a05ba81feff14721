// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Cue.h"

namespace brightsum {

// How a cue is played: Wait returns when the sound has ended, without dispatching events;
// Async starts it and returns at once. A newer cue cuts an older one short.
enum class CueMode { Wait = 0, Async = 1 };

class SoundPort {
public:
    virtual ~SoundPort() = default;
    virtual void PlaySoundCue(Cue cue, CueMode mode) = 0;
};

}  // namespace brightsum
