// SPDX-License-Identifier: GPL-3.0-or-later
#include "CueDescriptions.h"

#include <QCoreApplication>

#include <array>
#include <utility>

namespace brightsum {

namespace {

constexpr const char* kContext = "brightsum::CueDescriptions";

// The one place of these texts, so that they can be translated together.
constexpr std::array<std::pair<std::string_view, const char*>, 7> kDescriptions{{
    //: The name of a sound as the desktop's sound mixer lists it.
    {"select.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Button picked")},
    {"good.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Right answer")},
    {"bad.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Wrong answer")},
    {"timeup.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Time is up")},
    {"finish.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Game over")},
    {"hiscore.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "New high score")},
    {"showhi.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "High scores")},
}};

}  // namespace

std::string cueDescription(std::string_view file) {
    for (const auto& [name, description] : kDescriptions) {
        if (name == file) {
            return QCoreApplication::translate(kContext, description).toStdString();
        }
    }
    return {};
}

}  // namespace brightsum
