// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundCuePlayer.h"

#include <filesystem>

namespace brightsum {

// The cues through Windows' winmm. Its sounds carry no description for a mixer.
class WinmmSoundPlayer final : public SoundCuePlayer {
public:
    explicit WinmmSoundPlayer(std::filesystem::path programFolder);
};

}  // namespace brightsum
