// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundPort.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace brightsum {

class SoundBackEnd;

// Plays the game's cues, wave files of the program folder, through a system's back end on a
// thread of the player's own. One cue sounds at a time: a newer cue cuts an older one short. A
// file that is missing, is no sane wave file (WaveFile) or cannot be played gives the
// desktop's alert sound instead; with no sound service a cue ends at once. The back end's
// calls may block for as long as a hung sound service stays silent, so the caller only hands
// cues over, and waits for a waited cue at most its length and a second, and never more than
// two seconds. Call it from one thread only (the user-interface thread).
class SoundCuePlayer : public SoundPort {
public:
    // Builds the back end; runs on the sound thread.
    using BackEndFactory = std::function<std::unique_ptr<SoundBackEnd>()>;
    // What a cue means, for the mixer; runs on the caller's thread.
    using Describe = std::function<std::string(Cue cue)>;

    SoundCuePlayer(std::filesystem::path programFolder, BackEndFactory makeBackEnd,
                   Describe describe);
    // Waits a moment for the sound thread to let go of the back end; a thread that a hung
    // sound service holds longer is left to end by itself, so that the program can end.
    ~SoundCuePlayer() override;

    SoundCuePlayer(const SoundCuePlayer&) = delete;
    SoundCuePlayer& operator=(const SoundCuePlayer&) = delete;

    void PlaySoundCue(Cue cue, CueMode mode) override;

private:
    struct Queue;

    static void run(const std::shared_ptr<Queue>& queue, const BackEndFactory& makeBackEnd);

    std::filesystem::path m_programFolder;
    Describe m_describe;
    std::shared_ptr<Queue> m_queue;  // shared with the sound thread, which may outlive the player
    std::thread m_thread;
};

}  // namespace brightsum
