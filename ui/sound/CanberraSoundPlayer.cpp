// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanberraSoundPlayer.h"

#include "CanberraBackEnd.h"
#include "CueDescriptions.h"

#include <memory>
#include <utility>

namespace brightsum {

CanberraSoundPlayer::CanberraSoundPlayer(std::filesystem::path programFolder)
    : SoundCuePlayer(
          std::move(programFolder), [] { return std::make_unique<CanberraBackEnd>(); },
          [](Cue cue) { return cueDescription(cue); }) {}

}  // namespace brightsum
