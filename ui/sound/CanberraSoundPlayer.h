// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundCuePlayer.h"

#include <filesystem>

namespace brightsum {

// The cues through libcanberra, described for the mixer in the program's language.
class CanberraSoundPlayer final : public SoundCuePlayer {
public:
    explicit CanberraSoundPlayer(std::filesystem::path programFolder);
};

}  // namespace brightsum
