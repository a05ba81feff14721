// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundBackEnd.h"
#include "WaveFile.h"

#include <memory>

namespace brightsum {

// Plays the cues through Windows' winmm (PlaySoundW), from the wave file's bytes in memory.
// The system reports no end of a sound, so each cue is told when it will have ended, from its
// length.
class WinmmBackEnd final : public SoundBackEnd {
public:
    WinmmBackEnd() = default;
    // Cuts short the cue still sounding before its bytes go.
    ~WinmmBackEnd() override;

    WinmmBackEnd(const WinmmBackEnd&) = delete;
    WinmmBackEnd& operator=(const WinmmBackEnd&) = delete;

    Start playFile(const WaveFile& file, const std::string& description,
                   const std::shared_ptr<PlayingCue>& cue) override;
    Start playAlert(const std::string& description,
                    const std::shared_ptr<PlayingCue>& cue) override;
    void stop() override;

private:
    std::shared_ptr<PlayingCue> m_cue;  // the cue started last
    WaveFile::Bytes m_sounding;         // the memory the system plays it from
};

}  // namespace brightsum
