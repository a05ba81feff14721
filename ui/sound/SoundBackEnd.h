// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

namespace brightsum {

class PlayingCue;
class WaveFile;

// How one system plays the cues. SoundCuePlayer makes every call on its sound thread, one at a
// time, builds the back end there and destroys it there: a call may block for as long as the
// system's sound service does, and the game goes on meanwhile.
class SoundBackEnd {
public:
    enum class Start {
        Playing,      // the sound has started; its end will reach the cue
        Refused,      // this sound cannot be played; the alert may stand in for it
        Unavailable,  // no sound can be heard now, so the alert is not tried either
    };

    virtual ~SoundBackEnd() = default;

    // Starts a checked wave file. description says what the cue means, in the player's language
    // (UTF-8, may be empty), for a mixer that lists the sounds playing. On Playing, the back end
    // keeps the cue and reports its end (PlayingCue::ended, or endsBy when the system tells no
    // end); on anything else it drops the cue unreported.
    virtual Start playFile(const WaveFile& file, const std::string& description,
                           const std::shared_ptr<PlayingCue>& cue) = 0;
    // Starts the desktop's alert sound in place of a file that cannot be played, as playFile.
    virtual Start playAlert(const std::string& description,
                            const std::shared_ptr<PlayingCue>& cue) = 0;
    // Cuts short the sound started last, if it still sounds; its cue hears of its end.
    virtual void stop() = 0;
};

}  // namespace brightsum
