// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageTexts.h"

#include "Message.h"

#include <QCoreApplication>

#include <array>
#include <cstddef>

namespace brightsum {

namespace {

// The catalogues keep these texts under the name of the game engine, which sends them.
constexpr const char* kContext = "brightsum::Engine";

struct Words {
    MessageId id;
    const char* title;  // nullptr for a message that is only spoken
    const char* text;
    // A text with "%n" takes its one number there, in the plural form the language gives it.
    bool counted = false;
};

// One row for each message, in the order of the enumeration.
constexpr auto kTexts = std::to_array<Words>({
    {MessageId::GameOver, QT_TRANSLATE_NOOP("brightsum::Engine", "Game Over"),
     //: %1 is the final score, a number: "Game over! Your final score is 5400."
     QT_TRANSLATE_NOOP("brightsum::Engine", "Game over! Your final score is %1.")},
    {MessageId::HighScorePrompt, QT_TRANSLATE_NOOP("brightsum::Engine", "High Score"),
     QT_TRANSLATE_NOOP("brightsum::Engine",
                       "Congratulations! You got a High Score! Please enter your name.")},
    {MessageId::ScoresNotSaved, QT_TRANSLATE_NOOP("brightsum::Engine", "High Scores"),
     QT_TRANSLATE_NOOP("brightsum::Engine",
                       "High scores cannot be saved on this computer. This game's score is kept "
                       "until Brightsum is closed.")},
    // Spoken by screen readers; the dialogs speak for themselves. Nothing shows them, so
    // they need fit nowhere, but each wants to be heard before the next cuts it off.
    {MessageId::QuestionAddition, nullptr,
     //: Read out by screen readers when a question appears, and again on F5. %1 is the
     //: question's number (1 to 10), %2 the number to make by adding two numbers of the board.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Question %1. Make %2 with plus.")},
    {MessageId::QuestionSubtraction, nullptr,
     //: The same for a subtraction question: the first number picked minus the second.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Question %1. Make %2 with minus.")},
    {MessageId::Picked, nullptr,
     //: Read out by screen readers when a first number is picked; %1 is the number.
     QT_TRANSLATE_NOOP("brightsum::Engine", "You picked %1.")},
    {MessageId::RightAnswer, nullptr,
     //: Read out by screen readers after a right pair, with the points it won (0 to 1000 in
     //: steps of 50). Keep it short: the next question comes a second later and cuts it off.
     QT_TRANSLATE_N_NOOP("brightsum::Engine", "Right! %n points."), true},
    {MessageId::WrongSum, nullptr,
     //: Read out by screen readers after a wrong pair: %1 and %2 are the numbers picked, %3
     //: the number they should have made by adding.
     QT_TRANSLATE_NOOP("brightsum::Engine", "%1 plus %2 does not make %3. Try again.")},
    {MessageId::WrongDifference, nullptr,
     //: The same for a subtraction: %1 minus %2, the first number picked minus the second.
     QT_TRANSLATE_NOOP("brightsum::Engine", "%1 minus %2 does not make %3. Try again.")},
    {MessageId::SecondsLeft, nullptr,
     //: Read out by screen readers a few seconds before a question runs out, and on F5 with
     //: the question. Never said for fewer than 2 seconds.
     QT_TRANSLATE_N_NOOP("brightsum::Engine", "%n seconds left."), true},
    {MessageId::TimeAlmostUp, nullptr,
     //: Read out by screen readers on F5 when less than two seconds of the question are left.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Time is almost up.")},
    {MessageId::TimeUp, nullptr,
     //: Read out by screen readers when a question runs out of time.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Time is up.")},
    {MessageId::Score, nullptr,
     //: Read out by screen readers on F5 after the question: the points of the game so far.
     QT_TRANSLATE_N_NOOP("brightsum::Engine", "You have %n points."), true},
    {MessageId::NoGame, nullptr,
     //: Read out by screen readers on F5 while no game runs. Name the two menus as the menu
     //: bar does, without their "&".
     QT_TRANSLATE_NOOP("brightsum::Engine",
                       "No game yet. Choose Addition or Subtraction in the menu bar.")},
    {MessageId::FinalScore, nullptr,
     //: Read out by screen readers. %1 is the final score, a number.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Game over. Your final score is %1.")},
});

static_assert(kTexts.size() == kMessages.size(), "every message has its texts");
static_assert(
    [] {
        for (std::size_t i = 0; i < kTexts.size(); ++i) {
            if (static_cast<std::size_t>(kTexts[i].id) != i || kTexts[i].text == nullptr ||
                (kTexts[i].counted && kMessages[i].arguments != 1)) {
                return false;
            }
        }
        return true;
    }(),
    "kTexts has one row for each message, in the order of the enumeration, and a counted "
    "text has one number");

const Words& textsOf(MessageId id) {
    return kTexts[static_cast<std::size_t>(id)];
}

}  // namespace

QString messageText(const Message& message) {
    const Words& words = textsOf(message.id);
    if (words.counted) {
        return QCoreApplication::translate(kContext, words.text, nullptr, message.args[0]);
    }
    QString text = QCoreApplication::translate(kContext, words.text);
    const int arguments = messageInfo(message.id).arguments;
    for (std::size_t i = 0; i < static_cast<std::size_t>(arguments); ++i) {
        text = text.arg(message.args[i]);
    }
    return text;
}

QString messageTitle(const Message& message) {
    const char* title = textsOf(message.id).title;
    return title == nullptr ? QString() : QCoreApplication::translate(kContext, title);
}

}  // namespace brightsum
