// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"

namespace brightsum {

// The shared variables of a game. Fields without a value at start-up are zeroed here; no
// handler reads one before its first writer has run.
struct GameState {
    bool GameActive = false;
    int TotalPoints = 0;
    // Named by its type in full: the field keeps the name of the type.
    brightsum::Operation Operation = brightsum::Operation::None;
    int QuestionNumber = 0;
    int PickCount = 0;
    int FirstPickIndex = 0;
    double FirstPick = 0;
    double SecondPick = 0;
    int QuestionValue = 0;
    int Level = 0;  // 1 to 5, 0 until the first game
};

}  // namespace brightsum
