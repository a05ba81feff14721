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
    // Spoken by screen readers; the dialogs speak for themselves.
    {MessageId::RightAnswer, nullptr,
     //: Read out by screen readers after a right pair.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Right answer.")},
    {MessageId::WrongAnswer, nullptr,
     //: Read out by screen readers after a wrong pair.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Wrong answer. Try again.")},
    {MessageId::TimeUp, nullptr,
     //: Read out by screen readers when a question runs out of time.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Time is up.")},
    {MessageId::FinalScore, nullptr,
     //: Read out by screen readers. %1 is the final score, a number.
     QT_TRANSLATE_NOOP("brightsum::Engine", "Game over. Your final score is %1.")},
});

static_assert(kTexts.size() == kMessages.size(), "every message has its texts");
static_assert(
    [] {
        for (std::size_t i = 0; i < kTexts.size(); ++i) {
            if (static_cast<std::size_t>(kTexts[i].id) != i || kTexts[i].text == nullptr) {
                return false;
            }
        }
        return true;
    }(),
    "kTexts has one row for each message, in the order of the enumeration");

const Words& textsOf(MessageId id) {
    return kTexts[static_cast<std::size_t>(id)];
}

}  // namespace

QString messageText(const Message& message) {
    QString text = QCoreApplication::translate(kContext, textsOf(message.id).text);
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
