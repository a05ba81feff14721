// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundPort.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

struct ca_context;

namespace brightsum {

// Plays the game's cues, wave files of the program folder, through libcanberra.
// One cue sounds at a time: a newer cue cuts an older one short. A file that is missing or
// cannot be played gives the desktop's alert sound instead; with no sound server a cue ends at
// once. Each of libcanberra's calls can block for as long as a hung sound server stays silent,
// so they all run on a thread of the player's own: the caller only hands cues over, and waits
// for a waited cue at most its length and a second. Call it from one thread only (the
// user-interface thread).
class CanberraSoundPlayer final : public SoundPort {
public:
    explicit CanberraSoundPlayer(std::filesystem::path programFolder);
    // Waits a moment for the sound thread to close its connection; a thread that a hung server
    // holds longer is left to end by itself, so that the program can end.
    ~CanberraSoundPlayer() override;

    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    // Qualified: inside the player, Cue names its own record of a cue being played.
    void PlaySoundCue(brightsum::Cue sound, CueMode mode) override;

private:
    struct Cue;
    struct Queue;
    class Voice;

    static void cueFinished(ca_context* context, std::uint32_t id, int error, void* userdata);
    static void run(const std::shared_ptr<Queue>& queue);

    std::filesystem::path m_programFolder;
    std::shared_ptr<Queue> m_queue;  // shared with the sound thread, which may outlive the player
    std::thread m_thread;
};

}  // namespace brightsum
