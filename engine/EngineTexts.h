// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Marks a text for the translators' catalogue (lupdate finds the macro by its name) and leaves
// it as it is: the engine speaks English, and the window translates what it is given.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace brightsum::texts {

// Every text the game shows or says, in one place. The window looks each one up in the
// catalogue under this context.
inline constexpr const char* kContext = "brightsum::Engine";

inline constexpr const char* kGameOverTitle = QT_TRANSLATE_NOOP("brightsum::Engine", "Game Over");
//: %1 is the final score, a number: "Game over! Your final score is 5400."
inline constexpr const char* kGameOverText =
    QT_TRANSLATE_NOOP("brightsum::Engine", "Game over! Your final score is %1.");

inline constexpr const char* kHighScoreTitle = QT_TRANSLATE_NOOP("brightsum::Engine", "High Score");
inline constexpr const char* kHighScorePrompt = QT_TRANSLATE_NOOP(
    "brightsum::Engine", "Congratulations! You got a High Score! Please enter your name.");

inline constexpr const char* kScoresNotSavedTitle =
    QT_TRANSLATE_NOOP("brightsum::Engine", "High Scores");
inline constexpr const char* kScoresNotSavedText =
    QT_TRANSLATE_NOOP("brightsum::Engine",
                      "High scores cannot be saved on this computer. This game's score is kept "
                      "until Brightsum is closed.");

// Spoken by screen readers; the dialogs speak for themselves.
//: Read out by screen readers after a right pair.
inline constexpr const char* kAnnounceRight =
    QT_TRANSLATE_NOOP("brightsum::Engine", "Right answer.");
//: Read out by screen readers after a wrong pair.
inline constexpr const char* kAnnounceWrong =
    QT_TRANSLATE_NOOP("brightsum::Engine", "Wrong answer. Try again.");
//: Read out by screen readers when a question runs out of time.
inline constexpr const char* kAnnounceTimeUp =
    QT_TRANSLATE_NOOP("brightsum::Engine", "Time is up.");
//: Read out by screen readers. %1 is the final score, a number.
inline constexpr const char* kAnnounceGameOver =
    QT_TRANSLATE_NOOP("brightsum::Engine", "Game over. Your final score is %1.");

// The texts above that carry the score. The window takes a sentence apart again by these, to
// look up its text and put the score into the translation.
inline constexpr const char* kScoreSentences[] = {kGameOverText, kAnnounceGameOver};
inline constexpr std::string_view kScorePlaceholder = "%1";

// The sentence with the score in place of its "%1".
inline std::string withScore(std::string_view sentence, int score) {
    std::string text(sentence);
    const std::size_t at = text.find(kScorePlaceholder);
    if (at != std::string::npos) {
        text.replace(at, kScorePlaceholder.size(), std::to_string(score));
    }
    return text;
}

// Captions of the question line.
inline constexpr const char* kUnknown = "?";

}  // namespace brightsum::texts
