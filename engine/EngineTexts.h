// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace brightsum::texts {

// Every text the game shows or says, in one place.

inline constexpr const char* kGameOverTitle = "Game Over";
// Followed by the final score and kGameOverTextEnd: "Game over! Your final score is 5400."
inline constexpr const char* kGameOverTextStart = "Game over! Your final score is ";
inline constexpr const char* kGameOverTextEnd = ".";

inline constexpr const char* kHighScoreTitle = "High Score";
inline constexpr const char* kHighScorePrompt =
    "Congratulations! You got a High Score! Please enter your name.";

inline constexpr const char* kScoresNotSavedTitle = "High Scores";
inline constexpr const char* kScoresNotSavedText =
    "High scores cannot be saved on this computer. This game's score is kept until Brightsum "
    "is closed.";

// Spoken by screen readers; the dialogs speak for themselves.
inline constexpr const char* kAnnounceRight = "Right answer.";
inline constexpr const char* kAnnounceWrong = "Wrong answer. Try again.";
inline constexpr const char* kAnnounceTimeUp = "Time is up.";
// Followed by the final score and kAnnounceGameOverEnd.
inline constexpr const char* kAnnounceGameOverStart = "Game over. Your final score is ";
inline constexpr const char* kAnnounceGameOverEnd = ".";

// Captions of the question line.
inline constexpr const char* kUnknown = "?";
inline constexpr const char* kPlus = "+";
inline constexpr const char* kMinus = "-";

// The cues, files of the program folder.
inline constexpr const char* kCueSelect = "select.wav";
inline constexpr const char* kCueGood = "good.wav";
inline constexpr const char* kCueBad = "bad.wav";
inline constexpr const char* kCueTimeUp = "timeup.wav";
inline constexpr const char* kCueFinish = "finish.wav";
inline constexpr const char* kCueHighScore = "hiscore.wav";

}  // namespace brightsum::texts
