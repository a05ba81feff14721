// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Marks a text for the translators' catalogue (lupdate finds the macro by its name) and leaves
// it as it is; the window side translates it.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace brightsum {

// The game's sound cues.
enum class Cue { Select, Good, Bad, TimeUp, Finish, HighScore, ShowHighScores };

struct CueInfo {
    Cue cue;
    // A wave file of the program folder.
    std::string_view file;
    // What the cue means, as the desktop's sound mixer shows it beside the stream; English,
    // translated under kCueDescriptionContext.
    const char* description;
};

inline constexpr const char* kCueDescriptionContext = "brightsum::CueDescriptions";

// Every cue, in the order of the enumeration.
inline constexpr std::array<CueInfo, 7> kCues{{
    //: The name of a sound as the desktop's sound mixer lists it.
    {Cue::Select, "select.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Button picked")},
    {Cue::Good, "good.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Right answer")},
    {Cue::Bad, "bad.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Wrong answer")},
    {Cue::TimeUp, "timeup.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Time is up")},
    {Cue::Finish, "finish.wav", QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "Game over")},
    {Cue::HighScore, "hiscore.wav",
     QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "New high score")},
    {Cue::ShowHighScores, "showhi.wav",
     QT_TRANSLATE_NOOP("brightsum::CueDescriptions", "High scores")},
}};

constexpr const CueInfo& cueInfo(Cue cue) {
    return kCues[static_cast<std::size_t>(cue)];
}

constexpr std::string_view cueFile(Cue cue) {
    return cueInfo(cue).file;
}

static_assert(
    [] {
        for (std::size_t i = 0; i < kCues.size(); ++i) {
            if (static_cast<std::size_t>(kCues[i].cue) != i) {
                return false;
            }
        }
        return true;
    }(),
    "kCues lists every cue once, in the order of the enumeration");

}  // namespace brightsum
