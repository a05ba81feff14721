// SPDX-License-Identifier: GPL-3.0-or-later
#include "CueDescriptions.h"

#include <array>
#include <utility>

namespace brightsum {

namespace {

// The one place of these texts, so that they can be translated together.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kDescriptions{{
    {"select.wav", "Button picked"},
    {"good.wav", "Right answer"},
    {"bad.wav", "Wrong answer"},
    {"timeup.wav", "Time is up"},
    {"finish.wav", "Game over"},
    {"hiscore.wav", "New high score"},
    {"showhi.wav", "High scores"},
}};

}  // namespace

std::string_view cueDescription(std::string_view file) {
    for (const auto& [name, description] : kDescriptions) {
        if (name == file) {
            return description;
        }
    }
    return {};
}

}  // namespace brightsum
