// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinmmSoundPlayer.h"

#include "WinmmBackEnd.h"

#include <memory>
#include <utility>

namespace brightsum {

WinmmSoundPlayer::WinmmSoundPlayer(std::filesystem::path programFolder)
    : SoundCuePlayer(std::move(programFolder), [] { return std::make_unique<WinmmBackEnd>(); },
                     {}) {}

}  // namespace brightsum
